// The tray item's images and what they show for each state, and where the popover opens.
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "statusbar/LiveIcon.h"
#include "statusbar/PopoverHost.h"
#include "statusbar/StatusIconModel.h"
#include "statusbar/StatusIconPainter.h"

namespace {

using namespace StatusIconPainter;

constexpr qreal kScale = 8; // eight pixels per point: sample well inside each shape

/// The pixel at a point given with the origin at the bottom left, as the geometry is.
QColor at(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(x * kScale), static_cast<int>((clockFaceSize - y) * kScale));
}

bool near(const QColor& a, QRgb b, int tolerance = 8)
{
    const QColor c = QColor::fromRgb(b);
    return std::abs(a.red() - c.red()) <= tolerance && std::abs(a.green() - c.green()) <= tolerance
        && std::abs(a.blue() - c.blue()) <= tolerance && a.alpha() > 245;
}

TEST(StatusIcon, ClockFaceDrawsEachShapeWhereItsGeometrySaysAtTheScreensScale)
{
    const QImage face = clockFace(QColor::fromRgb(0x7DD3FC), kScale);
    ASSERT_EQ(face.size(), QSize(18 * kScale, 18 * kScale));
    EXPECT_EQ(face.devicePixelRatio(), kScale);
    // Face centre c = (8.5, 9.94); a point of the face away from the hands and the hub.
    EXPECT_TRUE(near(at(face, 5.0, 12.5), 0x7DD3FC)) << at(face, 5.0, 12.5).name().toStdString();
    EXPECT_TRUE(near(at(face, 12.0, 6.0), 0x7DD3FC));
    // The hub, and the middle of each hand.
    EXPECT_TRUE(near(at(face, 8.5, 9.94), dark));
    EXPECT_TRUE(near(at(face, 8.5 - 1.06, 9.94 + 1.06), dark));
    EXPECT_TRUE(near(at(face, 8.5 + 1.15, 9.94 - 1.94), dark));
    // The hard shadow shows below and right of the face, outside it.
    EXPECT_TRUE(near(at(face, 9.5 + 5.0, 8.94 - 5.0), dark));
    // The stem at the top, clipped by the image edge.
    EXPECT_TRUE(near(at(face, 8.5, 17.8), leafGreen));
    // Outside everything: transparent.
    EXPECT_EQ(at(face, 0.3, 0.3).alpha(), 0);
    EXPECT_EQ(at(face, 17.7, 17.7).alpha(), 0);
}

TEST(StatusIcon, PillAndSquareCountdownUseTheRoleColour)
{
    const int width = statusTextWidth();
    EXPECT_GT(width, 16);
    EXPECT_EQ(width, statusTextWidth()); // measured once

    const QImage pill = countdownPill(QStringLiteral("24:59"), QColor::fromRgb(0xFDA4AF), 2);
    EXPECT_EQ(pill.size(), QSize(width * 2, pillHeight * 2));
    EXPECT_TRUE(near(pill.pixelColor(8, pillHeight), 0xFDA4AF)); // left end, inside the capsule
    EXPECT_EQ(pill.pixelColor(0, 0).alpha(), 0); // rounded corner

    const QImage minutes = squareCountdown(24 * 60 + 1, QColor::fromRgb(0x6EE7B7), 44);
    EXPECT_TRUE(near(minutes.pixelColor(6, 22), 0x6EE7B7));
    const QImage lastMinute = squareCountdown(42, QColor::fromRgb(0x6EE7B7), 44);
    EXPECT_TRUE(near(lastMinute.pixelColor(6, 22), dark)); // seconds on a dark face
    EXPECT_NE(squareCountdown(25 * 60, Qt::red, 22), squareCountdown(24 * 60, Qt::red, 22));
    EXPECT_EQ(squareCountdown(24 * 60 + 1, Qt::red, 22), squareCountdown(25 * 60, Qt::red, 22)); // rounded up
    EXPECT_FALSE(squareCountdown(1e12, Qt::red, 22).isNull());
}

TEST(StatusIcon, RoleColourFollowsTheStateAndFallsBackForUnknownIds)
{
    const QString coral = QStringLiteral("coral"), mint = QStringLiteral("mint"), sky = QStringLiteral("sky");
    const auto make
        = [&](TimerState state, bool running, bool focusTab, const QString& focus, const QString& brk) {
              return StatusIconModel::make(state, running, focusTab, 754, focus, brk);
          };
    // Paused in focus: the clock face in the focus colour, not the time.
    const StatusIconModel paused = make(TimerState::work, false, false, sky, mint);
    EXPECT_EQ(paused.kind, StatusIconModel::Kind::clockFace);
    EXPECT_EQ(paused.color, QColor::fromRgb(0x7DD3FC));
    // Idle follows the tab; breaks use the break colour whatever the tab says.
    EXPECT_EQ(make(TimerState::idle, false, false, coral, sky).color, QColor::fromRgb(0x7DD3FC));
    EXPECT_EQ(make(TimerState::longBreak, true, true, coral, sky).color, QColor::fromRgb(0x7DD3FC));
    const StatusIconModel running = make(TimerState::shortBreak, true, true, coral, sky);
    EXPECT_EQ(running.kind, StatusIconModel::Kind::countdown);
    EXPECT_EQ(running.timeText, QStringLiteral("12:34"));
    // Unknown ids.
    EXPECT_EQ(
        make(TimerState::work, true, true, QStringLiteral("Coral"), mint).color, QColor::fromRgb(0xFDA4AF));
    EXPECT_EQ(make(TimerState::idle, false, false, coral, QString()).color, QColor::fromRgb(0x6EE7B7));
}

TEST(StatusIcon, LiveIconShowsTheNewDrawingInEveryCopyAtEachSize)
{
    const auto filled = [](int side, QColor color) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(color);
        return image;
    };
    LiveIcon live;
    const QIcon kept = live.icon(); // as the tray item keeps it
    live.setImages({ filled(22, Qt::red), filled(44, Qt::blue) });
    EXPECT_EQ(kept.availableSizes(), (QList<QSize> { QSize(22, 22), QSize(44, 44) }));
    EXPECT_EQ(kept.pixmap(QSize(22, 22)).toImage().pixelColor(11, 11), QColor(Qt::red));
    EXPECT_EQ(kept.pixmap(QSize(30, 30)).toImage().pixelColor(5, 5), QColor(Qt::blue)); // scaled down
    EXPECT_EQ(kept.pixmap(QSize(30, 30)).size(), QSize(30, 30));
    EXPECT_EQ(kept.pixmap(QSize(64, 64)).size(), QSize(44, 44)); // never scaled up

    live.setImages({ filled(22, Qt::green) });
    EXPECT_EQ(kept.cacheKey(), live.icon().cacheKey()) << "one icon, drawn anew";
    EXPECT_EQ(kept.pixmap(QSize(22, 22)).toImage().pixelColor(11, 11), QColor(Qt::green));
    QImage tray(22, 22, QImage::Format_ARGB32_Premultiplied); // what an XEmbed tray item paints
    tray.fill(Qt::transparent);
    QPainter painter(&tray);
    kept.paint(&painter, tray.rect());
    painter.end();
    EXPECT_EQ(tray.pixelColor(11, 11), QColor(Qt::green));
}

TEST(PopoverPlacement, OpensBelowATopIconAboveABottomIconAndStaysOnScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize popover(320, 540);
    EXPECT_EQ(PopoverHost::placement(QRect(600, 0, 22, 22), popover, screen), QPoint(450, 28));
    const QPoint bottom = PopoverHost::placement(QRect(600, 778, 22, 22), popover, screen);
    EXPECT_EQ(bottom.y() + popover.height(), 778 - 6);
    EXPECT_EQ(PopoverHost::placement(QRect(1270, 0, 22, 22), popover, screen).x(), 1280 - 320); // right edge
    EXPECT_EQ(PopoverHost::placement(QRect(0, 0, 1, 1), popover, screen).x(), 0);
    // A screen smaller than the popover keeps its top left corner on screen.
    EXPECT_EQ(PopoverHost::placement(QRect(10, 10, 1, 1), popover, QRect(0, 0, 200, 200)), QPoint(0, 0));
}

TEST(PopoverPlacement, ShrinksWhereTheScreenIsTooSmallAndNeverElse)
{
    const QSize popover(320, 540);
    EXPECT_EQ(PopoverHost::fittingScale(popover, QRect(0, 24, 1280, 776)), 1.0);
    // 1280 x 800 at 200 %, below a 24-point tray: the whole popover fits, with air.
    const QRect small(0, 24, 640, 376);
    const qreal scale = PopoverHost::fittingScale(popover, small);
    EXPECT_LT(scale, 1.0);
    const QSize shrunk = (QSizeF(popover) * scale).toSize();
    EXPECT_LE(shrunk.height(), small.height() - 16);
    EXPECT_GE(shrunk.height(), small.height() - 48);
    EXPECT_LE(shrunk.width(), small.width());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the countdown text
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
