#pragma once

#include <QString>

#include <optional>

// Message-box styles as Windows writes them: buttons in the low four bits, plus an icon.
namespace MessageStyle
{
constexpr int ButtonsMask = 0x0F;
constexpr int Ok = 0;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int IconMask = 0xF0;
constexpr int IconError = 16;
constexpr int IconQuestion = 32;
constexpr int IconWarning = 48;
constexpr int IconInformation = 64;
} // namespace MessageStyle

// Answer codes of a message box.
namespace Answer
{
constexpr int None = 0;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace Answer

inline const QString& applicationTitle()
{
    static const QString title = QStringLiteral("NMaker");
    return title;
}

struct CatalogueMessage {
    QString text;
    int style = 0;
    // The answer a run takes when nobody is there to ask (a script): the one that goes on
    // without a choice only a person can make. None for a box that only informs.
    int unattended = Answer::None;
};

// The numbered catalogue: the composed text and the style of a message, or nothing for a
// number without an entry.
std::optional<CatalogueMessage> catalogueMessage(int number, const QString& t1 = {},
                                                 const QString& t2 = {}, const QString& t3 = {});
