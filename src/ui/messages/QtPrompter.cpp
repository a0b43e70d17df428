#include "QtPrompter.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include <span>

namespace
{

struct ButtonDef {
    const char* caption; // translated where the button is made
    int answer;
};

constexpr ButtonDef OkButton{QT_TRANSLATE_NOOP("QtPrompter", "OK"), Answer::Ok};
constexpr ButtonDef YesButton{QT_TRANSLATE_NOOP("QtPrompter", "はい(&Y)"), Answer::Yes};
constexpr ButtonDef NoButton{QT_TRANSLATE_NOOP("QtPrompter", "いいえ(&N)"), Answer::No};
constexpr ButtonDef CancelButton{QT_TRANSLATE_NOOP("QtPrompter", "キャンセル"), Answer::Cancel};
constexpr ButtonDef AbortButton{QT_TRANSLATE_NOOP("QtPrompter", "中止(&A)"), Answer::Abort};
constexpr ButtonDef RetryButton{QT_TRANSLATE_NOOP("QtPrompter", "再試行(&R)"), Answer::Retry};
constexpr ButtonDef IgnoreButton{QT_TRANSLATE_NOOP("QtPrompter", "無視(&I)"), Answer::Ignore};

QMessageBox::Icon iconOf(int style)
{
    switch (style & MessageStyle::IconMask) {
    case MessageStyle::IconError:
        return QMessageBox::Critical;
    case MessageStyle::IconQuestion:
        return QMessageBox::Question;
    case MessageStyle::IconWarning:
        return QMessageBox::Warning;
    case MessageStyle::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtPrompter::prompt(const PromptRequest& request)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(applicationTitle());
    box.setIcon(iconOf(request.style));
    // Windows boxes break lines at CR LF; a lone CR would show as a stray character here.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setTextFormat(Qt::PlainText);
    // A list of thousands of missing folders would make a box taller than the screen, its
    // buttons out of reach: show the head and the tail, and the whole text under "details".
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > MaxShownLines) {
        const QStringList shown = lines.mid(0, MaxShownLines - 4) +
                                  QStringList{QStringLiteral("⋮")} + lines.mid(lines.size() - 3);
        box.setText(shown.join(QLatin1Char('\n')));
        box.setDetailedText(text);
    } else {
        box.setText(text);
    }

    static constexpr ButtonDef ok[] = {OkButton};
    static constexpr ButtonDef ari[] = {AbortButton, RetryButton, IgnoreButton};
    static constexpr ButtonDef ync[] = {YesButton, NoButton, CancelButton};
    static constexpr ButtonDef yn[] = {YesButton, NoButton};
    std::span<const ButtonDef> choices = ok;
    switch (request.style & MessageStyle::ButtonsMask) {
    case MessageStyle::AbortRetryIgnore:
        choices = ari;
        break;
    case MessageStyle::YesNoCancel:
        choices = ync;
        break;
    case MessageStyle::YesNo:
        choices = yn;
        break;
    default:
        break;
    }
    // One role for all keeps the Windows order on every platform; the roles would let Qt
    // sort them, and guess an Escape answer where a Windows box has none.
    QList<QPushButton*> buttons;
    for (const ButtonDef& choice : choices) {
        buttons << box.addButton(QCoreApplication::translate("QtPrompter", choice.caption),
                                 QMessageBox::ActionRole);
        if (choice.answer == Answer::Cancel || choice.answer == Answer::Ok)
            box.setEscapeButton(buttons.last());
    }
    // No default-button bits are ever set: the first button is the default one.
    box.setDefaultButton(buttons.first());

    box.exec();
    const int pressed = buttons.indexOf(box.clickedButton());
    if (pressed >= 0)
        return choices[pressed].answer;
    return choices.back().answer == Answer::Cancel ? Answer::Cancel : choices.front().answer;
}
