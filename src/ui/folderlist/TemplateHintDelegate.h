#pragma once

#include <QFont>
#include <QStyledItemDelegate>

struct TemplatePlan;

// The series preview's rows with a second line under each folder's path: grey, indented, what
// the template brings into every folder made. Only painted; the entries stay as they are. One
// text for every row, so that 100,000 rows cost no more than the rows in sight.
class TemplateHintDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The second line; empty: the rows are one line, as without a template. Where it does not
    // fit it is cut as `elide` says; its tooltip is the whole line.
    void setHint(const QString& line, Qt::TextElideMode elide = Qt::ElideRight);
    const QString& hint() const { return m_hint; }
    // The hint as it is painted in `width` pixels of `font`.
    QString shownHint(const QFont& font, int width) const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    QString m_hint;
    Qt::TextElideMode m_elide = Qt::ElideRight;
    // Every row has the same hint at the same width: elided once, not for every row.
    mutable QFont m_shownFont;
    mutable int m_shownWidth = -1;
    mutable QString m_shown;
};

// What a template brings into each folder, as the hint says it: the names right inside it, a
// folder with `separator` at its end.
QString templatePreviewLine(const TemplatePlan& plan, QChar separator);
