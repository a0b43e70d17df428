#include "TemplateHintDelegate.h"

#include "templates/FolderTemplate.h"
#include "templates/TemplateTexts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QSet>
#include <QToolTip>

namespace
{

// The line is elided to the row anyway; past this many characters the rest is never seen.
constexpr qsizetype LongestLine = 2000;

} // namespace

QString templatePreviewLine(const TemplatePlan& plan, QChar separator)
{
    QSet<QString> folders;
    for (const TreeEntry& e : plan.entries) {
        if (e.kind == TreeEntry::Kind::Folder && !e.path.contains(u'/'))
            folders.insert(e.path);
    }
    QString line;
    for (const QString& name : plan.firstLevel()) {
        if (line.size() > LongestLine) {
            line += QStringLiteral("  …");
            break;
        }
        if (!line.isEmpty())
            line += QStringLiteral("  ");
        line += folders.contains(name) ? name + separator : name;
    }
    return line.isEmpty() ? TemplateText::previewNothing() : line;
}

void TemplateHintDelegate::setHint(const QString& line, Qt::TextElideMode elide)
{
    // A why may come with line breaks; the hint is one line.
    QString one = line;
    one.replace(QLatin1String("\r\n"), QLatin1String(" "));
    one.replace(u'\n', u' ');
    one.replace(u'\r', u' ');
    if (one == m_hint && elide == m_elide)
        return;
    m_hint = one;
    m_elide = elide;
    m_shownWidth = -1;
    // The rows change height: the view lays them out again.
    Q_EMIT sizeHintChanged(QModelIndex());
}

QString TemplateHintDelegate::shownHint(const QFont& font, int width) const
{
    if (width != m_shownWidth || font != m_shownFont) {
        m_shownFont = font;
        m_shownWidth = width;
        m_shown = QFontMetrics(font).elidedText(m_hint, m_elide, width);
    }
    return m_shown;
}

QSize TemplateHintDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (!m_hint.isEmpty())
        size.rheight() += QFontMetrics(option.font).height();
    return size;
}

void TemplateHintDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    if (m_hint.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const int line = QFontMetrics(opt.font).height();

    // The selection and hover behind both lines, the path as ever in the upper one.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    QStyleOptionViewItem upper = opt;
    upper.rect.setHeight(opt.rect.height() - line);
    style->drawControl(QStyle::CE_ItemViewItem, &upper, painter, widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &upper, widget);
    const int left = text.left() + margin + line; // indented by about one character
    const QRect lower(left, upper.rect.bottom() + 1, opt.rect.right() - margin - left + 1, line);
    if (lower.width() <= 0)
        return;
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(
        opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    painter->drawText(lower, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      shownHint(opt.font, lower.width()));
    painter->restore();
}

void TemplateHintDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    // The path is edited where it stands, not over the hint.
    QStyleOptionViewItem upper = option;
    if (!m_hint.isEmpty())
        upper.rect.setHeight(option.rect.height() - QFontMetrics(option.font).height());
    QStyledItemDelegate::updateEditorGeometry(editor, upper, index);
}

bool TemplateHintDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                     const QStyleOptionViewItem& option, const QModelIndex& index)
{
    // Over the hint, the whole of it; over the path, what the entry itself says.
    const int line = QFontMetrics(option.font).height();
    if (event->type() == QEvent::ToolTip && !m_hint.isEmpty() &&
        event->pos().y() > option.rect.bottom() - line) {
        QToolTip::showText(event->globalPos(), m_hint, view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
