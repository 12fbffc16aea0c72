#include "UpdateDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

#include "services/UpdateCheckResult.h"

namespace UpdateDialog {

void show(const UpdateCheckResult& result)
{
    auto* box = new QMessageBox;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QApplication::translate("UpdateDialog", "Software Update"));
    box->setIconPixmap(QApplication::windowIcon().pixmap(48, 48));
    box->setText(QStringLiteral("<b>%1</b>").arg(result.title().toHtmlEscaped()));
    box->setInformativeText(result.message());
    if (result.outcome() == UpdateCheckResult::Outcome::UpdateAvailable) {
        QPushButton* download = box->addButton(QApplication::translate("UpdateDialog", "Download"), QMessageBox::AcceptRole);
        box->addButton(QApplication::translate("UpdateDialog", "Later"), QMessageBox::RejectRole);
        const QUrl page = result.downloadPage();
        QObject::connect(download, &QPushButton::clicked, [page] { QDesktopServices::openUrl(page); });
    } else {
        box->addButton(QMessageBox::Ok);
    }
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace UpdateDialog
