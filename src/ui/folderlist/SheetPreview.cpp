#include "SheetPreview.h"

#include "common/UiFont.h"
#include "sheet/SheetTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SheetPreview::SheetPreview(std::function<SheetTable(const QString&)> read, PathStyle style,
                           QWidget* parent)
    : QDialog(parent), m_read(std::move(read)), m_style(style)
{
    setObjectName(QStringLiteral("sheetPreview"));
    setWindowTitle(SheetText::previewTitle());
    setFont(uiFont());
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    m_sheets = new QComboBox(this);
    m_sheets->setObjectName(QStringLiteral("cboSheet"));
    form->addRow(SheetText::sheetLabel(), m_sheets);
    layout->addLayout(form);

    m_fillDown = new QCheckBox(SheetText::fillDownLabel(), this);
    m_fillDown->setObjectName(QStringLiteral("chkFillDown"));
    m_fillDown->setChecked(true);
    m_skipHeader = new QCheckBox(SheetText::skipHeaderLabel(), this);
    m_skipHeader->setObjectName(QStringLiteral("chkSkipHeader"));
    layout->addWidget(m_fillDown);
    layout->addWidget(m_skipHeader);

    m_paths = new QListWidget(this);
    m_paths->setObjectName(QStringLiteral("lstPreview"));
    m_paths->setSelectionMode(QAbstractItemView::NoSelection);
    m_paths->setFont(uiFont(9));
    m_paths->setMinimumSize(480, 240);
    layout->addWidget(m_paths);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblPreviewStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* buttons = new QDialogButtonBox(this);
    m_add = buttons->addButton(SheetText::addButton(), QDialogButtonBox::AcceptRole);
    m_add->setObjectName(QStringLiteral("cmdSheetAdd"));
    buttons->addButton(SheetText::cancelButton(), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdSheetCancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    readSheet({});
    // Headings are offered to be skipped: the box starts checked when the first row reads so.
    m_skipHeader->setChecked(looksLikeHeader(m_table));
    m_sheets->addItems(m_table.sheets);
    m_sheets->setCurrentText(m_table.sheet);
    // A text table, or a workbook of one sheet, has nothing to choose.
    m_sheets->setVisible(m_table.sheets.size() > 1);
    form->labelForField(m_sheets)->setVisible(m_table.sheets.size() > 1);
    connect(m_sheets, &QComboBox::currentTextChanged, this, [this](const QString& sheet) {
        readSheet(sheet);
        update();
    });
    connect(m_fillDown, &QCheckBox::toggled, this, &SheetPreview::update);
    connect(m_skipHeader, &QCheckBox::toggled, this, &SheetPreview::update);
    update();
}

void SheetPreview::readSheet(const QString& sheet)
{
    m_table = m_read(sheet);
}

SheetImportOptions SheetPreview::options() const
{
    SheetImportOptions o;
    o.sheet = m_table.sheet;
    o.lines.fillDown = m_fillDown->isChecked();
    o.lines.skipHeader = m_skipHeader->isChecked();
    o.lines.style = m_style;
    return o;
}

QStringList SheetPreview::shownPaths() const
{
    QStringList paths;
    for (int i = 0; i < m_paths->count(); ++i)
        paths << m_paths->item(i)->text();
    return paths;
}

void SheetPreview::setReplaces(bool replaces)
{
    m_replaces = replaces;
    m_add->setText(replaces ? SheetText::readButton() : SheetText::addButton());
    update();
}

QString SheetPreview::refusal() const
{
    return m_add->isEnabled() ? QString() : m_status->text();
}

void SheetPreview::update()
{
    m_paths->clear();
    const QString refused = m_table.refusal;
    SheetLines lines;
    if (refused.isEmpty())
        lines = sheetLines(m_table, options().lines);
    const QString why = refused.isEmpty() ? lines.refusal : refused;
    if (!why.isEmpty()) {
        m_status->setText(why);
        m_status->setStyleSheet(QStringLiteral("color: #b00000"));
        m_add->setEnabled(false);
        return;
    }
    for (qsizetype i = 0; i < lines.lines.size() && i < ShownRows; ++i)
        m_paths->addItem(lines.lines.at(i));
    m_status->setText(m_replaces ? SheetText::rowsToRead(lines.lines.size())
                                 : SheetText::rowsToAdd(lines.lines.size()));
    m_status->setStyleSheet({});
    m_add->setEnabled(!lines.lines.isEmpty());
}
