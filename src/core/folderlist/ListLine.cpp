#include "ListLine.h"

#include "text/Numbers.h"

#include <QCoreApplication>

namespace
{

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Beyond 32 bits a bound is longer than five characters anyway; the value only has to stay
// large and keep its sign.
constexpr qint64 SaturatedValue = qint64(1) << 33;

// A range bound: plain decimal with blanks around, a sign and a fraction, rounded half to
// even. Read digit by digit in one pass: "010" is ten, and no exponent or base prefix is a
// number here, so a path part like "1e3" or "0x10" never turns into a count of folders.
std::optional<qint64> boundValue(QStringView t)
{
    const qsizetype n = t.size();
    qsizetype i = 0;
    while (i < n && isBlank(t[i]))
        ++i;
    bool negative = false;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    qint64 whole = 0;
    qsizetype digits = 0;
    for (; i < n && isDigit(t[i]); ++i, ++digits)
        whole = std::min(whole * 10 + (t[i].unicode() - u'0'), SaturatedValue);
    QStringView fraction;
    if (i < n && t[i] == QLatin1Char('.')) {
        const qsizetype start = ++i;
        while (i < n && isDigit(t[i]))
            ++i;
        fraction = t.sliced(start, i - start);
        digits += fraction.size();
    }
    if (digits == 0)
        return std::nullopt;
    while (i < n && isBlank(t[i]))
        ++i;
    if (i != n)
        return std::nullopt;

    // Rounded on the written digits, so no binary fraction tips a half either way.
    bool up = false;
    if (!fraction.isEmpty()) {
        const QChar first = fraction[0];
        if (first > QLatin1Char('5'))
            up = true;
        else if (first == QLatin1Char('5'))
            up = std::any_of(fraction.begin() + 1, fraction.end(),
                             [](QChar c) { return c != QLatin1Char('0'); }) ||
                 whole % 2 == 1;
    }
    if (up)
        whole = std::min(whole + 1, SaturatedValue);
    return negative ? -whole : whole;
}

} // namespace

std::optional<qint64> listBoundValue(QStringView text)
{
    return boundValue(text);
}

QString listLineProblemText(ListLineProblem problem)
{
    switch (problem) {
    case ListLineProblem::None:
        break;
    case ListLineProblem::BoundNotValue:
        return QCoreApplication::translate("ListLine", "範囲の値が数値でも1文字でもありません");
    case ListLineProblem::NegativeBound:
        return QCoreApplication::translate("ListLine", "範囲の値が負の数です");
    case ListLineProblem::NumberAndLetter:
        return QCoreApplication::translate("ListLine", "範囲の片方が数値で、もう片方が文字です");
    case ListLineProblem::MixedCase:
        return QCoreApplication::translate("ListLine", "範囲に大文字と小文字が混ざっています");
    case ListLineProblem::DifferentScripts:
        return QCoreApplication::translate("ListLine", "範囲の2つの文字の種類が違います");
    case ListLineProblem::NotALetter:
        return QCoreApplication::translate("ListLine",
                                           "範囲に使える文字は英字・ひらがな・カタカナです");
    case ListLineProblem::BadStep:
        return QCoreApplication::translate("ListLine", "刻みは 1〜99999 の整数です");
    case ListLineProblem::EmptyDateFormat:
        return QCoreApplication::translate("ListLine", "日付の書式が空です");
    case ListLineProblem::EmptyEntry:
        return QCoreApplication::translate("ListLine", "空のパスになる組み合わせがあります");
    case ListLineProblem::TooDeep:
        return QCoreApplication::translate("ListLine", "{ } の入れ子が深すぎます (%1 段まで)")
            .arg(MaxAlternativeDepth);
    case ListLineProblem::NulCharacter:
        return QCoreApplication::translate("ListLine", "NUL 文字を含んでいます");
    }
    return {};
}
