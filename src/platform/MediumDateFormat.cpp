#include "MediumDateFormat.h"

#include <QList>
#include <algorithm>

namespace {
struct Token {
    QString text;
    bool field = false;
};

bool isFieldLetter(QChar c)
{
    return QStringView(u"dMyhHmszaAt").contains(c);
}

/// Fields ("MMMM"), quoted literals ("'de'") and single unquoted characters.
QList<Token> tokenize(const QString& format)
{
    QList<Token> tokens;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype end = i + 1;
        if (c == QLatin1Char('\'')) {
            // Up to the closing quote; a doubled quote inside stands for a quote.
            while (end < format.size()) {
                if (format.at(end) == QLatin1Char('\'')) {
                    if (end + 1 < format.size() && format.at(end + 1) == QLatin1Char('\'')) {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
        } else if (isFieldLetter(c)) {
            while (end < format.size() && format.at(end) == c)
                ++end;
        }
        tokens.append({ format.mid(i, end - i), isFieldLetter(c) });
        i = end;
    }
    return tokens;
}

/// What joins the weekday to the rest: spaces and commas, never the dot of "d." or a word.
bool isSeparator(const Token& token)
{
    if (token.field || token.text.size() != 1)
        return false;
    const QChar c = token.text.at(0);
    return c.isSpace() || QStringView(u",\u060C\u3001\uFF0C").contains(c);
}

bool isField(const Token& token)
{
    return token.field;
}

bool isWeekday(const Token& token)
{
    return token.field && token.text.startsWith(QLatin1Char('d')) && token.text.size() >= 3;
}
} // namespace

QString mediumDateFormat(const QString& longFormat)
{
    QList<Token> tokens = tokenize(longFormat);
    const auto weekday = std::find_if(tokens.begin(), tokens.end(), isWeekday);
    if (weekday != tokens.end()) {
        qsizetype at = weekday - tokens.begin();
        const bool leads = std::none_of(tokens.begin(), weekday, isField);
        const bool trails = std::none_of(weekday + 1, tokens.end(), isField);
        tokens.removeAt(at);
        if (leads) {
            // Words that lead into the date go too: Danish "lørdag den 5." becomes "5.".
            while (at < tokens.size() && !tokens.at(at).field)
                tokens.removeAt(at);
        } else {
            while (at > 0 && isSeparator(tokens.at(at - 1)))
                tokens.removeAt(--at);
            while (trails && at < tokens.size())
                tokens.removeAt(at);
        }
    }
    QString format;
    for (const Token& token : tokens)
        format += token.field && token.text == QLatin1String("MMMM") ? QStringLiteral("MMM") : token.text;
    return format;
}
