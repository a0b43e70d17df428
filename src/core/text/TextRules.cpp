#include "TextRules.h"

QString refusedChars(RefuseMode mode, PathStyle style)
{
    static const QString all = QStringLiteral("\\/|:<>\"*");
    if (mode == RefuseMode::FolderName)
        return all;
    QString set = all;
    set.remove(pathSeparator(style));
    return set;
}

bool hasRefusedChars(const QString& text, RefuseMode mode, PathStyle style)
{
    // Once per entry of a list run: one pass, nothing allocated.
    const QChar skip = mode == RefuseMode::Path ? pathSeparator(style) : QChar();
    const qsizetype keep = (mode == RefuseMode::Path && style == PathStyle::Windows) ? 3 : 0;
    const QString all = refusedChars(RefuseMode::FolderName, style); // the same eight everywhere
    for (qsizetype i = keep; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != skip && all.contains(c))
            return true;
    }
    return false;
}

QString removeRefusedChars(const QString& text, RefuseMode mode, PathStyle style, bool& found)
{
    if (!hasRefusedChars(text, mode, style))
        return text;
    const QString set = refusedChars(mode, style);
    const int keep = (mode == RefuseMode::Path && style == PathStyle::Windows) ? 3 : 0;
    const QString head = text.left(keep);
    QString rest = text.mid(keep);
    bool hit = false;
    for (QChar c : set) {
        if (rest.contains(c)) {
            rest.remove(c);
            hit = true;
        }
    }
    if (hit)
        found = true;
    return head + rest;
}

QString firstTextLine(const QString& text)
{
    // Any break ends it (the Linux clipboard separates lines with LF), so no folder name
    // ever holds one.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return text.left(i);
    }
    return text;
}
