#include "QtPrompter.h"

#include <QMessageBox>
#include <QPushButton>

#include <span>

namespace
{

struct ButtonSpec {
    const char16_t* caption;
    int answer;
};

constexpr ButtonSpec OkButton{u"OK", Answer::Ok};
constexpr ButtonSpec YesButton{u"はい(&Y)", Answer::Yes};
constexpr ButtonSpec NoButton{u"いいえ(&N)", Answer::No};
constexpr ButtonSpec CancelButton{u"キャンセル", Answer::Cancel};
constexpr ButtonSpec AbortButton{u"中止(&A)", Answer::Abort};
constexpr ButtonSpec RetryButton{u"再試行(&R)", Answer::Retry};
constexpr ButtonSpec IgnoreButton{u"無視(&I)", Answer::Ignore};

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

    static constexpr ButtonSpec ok[] = {OkButton};
    static constexpr ButtonSpec ari[] = {AbortButton, RetryButton, IgnoreButton};
    static constexpr ButtonSpec ync[] = {YesButton, NoButton, CancelButton};
    static constexpr ButtonSpec yn[] = {YesButton, NoButton};
    std::span<const ButtonSpec> specs = ok;
    switch (request.style & MessageStyle::ButtonsMask) {
    case MessageStyle::AbortRetryIgnore:
        specs = ari;
        break;
    case MessageStyle::YesNoCancel:
        specs = ync;
        break;
    case MessageStyle::YesNo:
        specs = yn;
        break;
    default:
        break;
    }
    // One role for all keeps the Windows order on every platform; the roles would let Qt
    // sort them, and guess an Escape answer where a Windows box has none.
    QList<QPushButton*> buttons;
    for (const ButtonSpec& spec : specs) {
        buttons << box.addButton(QString::fromUtf16(spec.caption), QMessageBox::ActionRole);
        if (spec.answer == Answer::Cancel || spec.answer == Answer::Ok)
            box.setEscapeButton(buttons.last());
    }
    // No default-button bits are ever set: the first button is the default one.
    box.setDefaultButton(buttons.first());

    box.exec();
    const int pressed = buttons.indexOf(box.clickedButton());
    if (pressed >= 0)
        return specs[pressed].answer;
    return specs.back().answer == Answer::Cancel ? Answer::Cancel : specs.front().answer;
}
