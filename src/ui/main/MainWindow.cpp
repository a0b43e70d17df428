#include "MainWindow.h"

#include "about/HelpCommands.h"
#include "common/Accessible.h"
#include "common/Controls.h"
#include "common/Twips.h"
#include "common/UiFont.h"
#include "common/UpDown.h"
#include "common/WindowRunContext.h"
#include "fileops/FileSystem.h"
#include "fileops/FolderBrowser.h"
#include "folderlist/ListController.h"
#include "messages/Prompter.h"
#include "run/FolderSteps.h"
#include "run/TargetFolder.h"
#include "settings/Options.h"
#include "settings/Preferences.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsFile.h"
#include "templates/TemplateTexts.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QUrl>

#include <QPushButton>
#include <algorithm>
#include <limits>

namespace
{

// Functions, not constants: the language is chosen after static initialisation.
QString folderTip()
{
    return QCoreApplication::translate("MainWindow", "作成先のフォルダをフルパスで入力");
}

QString noStartTip()
{
    return QCoreApplication::translate("MainWindow", "フォルダ名の連番開始番号の指定");
}

QString noEndTip()
{
    return QCoreApplication::translate("MainWindow", "フォルダ名の連番終了番号の指定");
}

QString noKetaTip()
{
    return QCoreApplication::translate("MainWindow", "フォルダ名の連番部分の桁数の指定");
}

QString exitTip()
{
    return QCoreApplication::translate("MainWindow", "Nestmakerを閉じる");
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QString& tip,
                  const QRect& geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setGeometry(geometry);
    return label;
}

// A field for a number: a Japanese input method left on would write full-width digits, which
// are no number here, so the keys reach the field as they are.
class NumberEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        return query == Qt::ImEnabled ? QVariant(false) : QLineEdit::inputMethodQuery(query);
    }
};

template <class Edit = QLineEdit>
QLineEdit* makeField(QWidget* parent, const QString& name, const QString& tip,
                     const QRect& geometry, Qt::Alignment alignment)
{
    auto* field = new Edit(parent);
    field->setObjectName(name);
    field->setToolTip(tip);
    field->setGeometry(geometry);
    field->setAlignment(alignment | Qt::AlignVCenter);
    // Name fields have no length limit; Qt's default would cut a long value silently.
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

// A field whose longest text does not fit scrolls it, and shows a cut number ("999" for
// 99999) depending on where the caret is. The given width stays; the inner margins give way.
void fitLongestText(QLineEdit* field, const QString& longest)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const int room =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width();
    constexpr int innerMargin = 2; // QLineEdit's own, on each side
    const int needed = field->fontMetrics().horizontalAdvance(longest) + 2; // and the caret
    const int shortBy = needed - (room - 2 * innerMargin);
    if (shortBy > 0) {
        const int left = -((shortBy + 1) / 2);
        field->setTextMargins(left, 0, -(shortBy - (shortBy + 1) / 2), 0);
    }
}

// A menu caption with its access key where Japanese menus put it: "指定(&T)..."; an English
// caption marks the letter in its own words ("Choose &template...") where it has it.
QString withAccessKey(const QString& caption, char key)
{
    const bool japanese = std::any_of(caption.cbegin(), caption.cend(),
                                      [](QChar c) { return c.unicode() >= 0x3000; });
    if (!japanese) {
        const qsizetype at = caption.indexOf(QLatin1Char(key), 0, Qt::CaseInsensitive);
        if (at >= 0)
            return caption.left(at) + u'&' + caption.mid(at);
    }
    const QString mark = QStringLiteral("(&%1)").arg(QLatin1Char(key));
    if (caption.endsWith(QLatin1String("...")))
        return caption.chopped(3) + mark + QStringLiteral("...");
    return caption + mark;
}

} // namespace

// The template's line: a long path gives way in its middle, so the window keeps its width;
// the whole line is its tooltip and what a screen reader says.
class TemplateLine : public QLabel
{
public:
    explicit TemplateLine(QWidget* parent) : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    void setLine(const QString& line)
    {
        m_line = line;
        setToolTip(line);
        setReaderName(this, line);
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide()
    {
        // A pixel to spare: the label measures its text by its bounding box.
        const int room = std::max(0, contentsRect().width() - 2);
        setText(fontMetrics().elidedText(m_line, Qt::ElideMiddle, room));
    }

    QString m_line;
};

MainWindow::MainWindow(const RunServices& services, const MainWindowPaths& paths, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_options(services.options),
      m_prompter(services.prompter), m_engine(services.steps), m_paths(paths)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(applicationTitle());
    setFont(uiFont());
    m_preferences = std::make_unique<Preferences>(paths.preferencesFile);
    m_lists = new ListController(*this, m_services, *m_preferences, this);
    connect(m_lists, &ListController::runFinished, this, &MainWindow::updateUndoItem);
    buildControls();
    buildMenus();
    setTabOrder();
    m_busy =
        std::make_unique<BusyState>(BusyState::Parts{this,
                                                     {m_mnuFile, m_mnuHelp},
                                                     {m_cmdCreateDelete[0], m_cmdCreateDelete[1]},
                                                     m_cmdExit,
                                                     tr("終了"),
                                                     exitTip()});
    // A single fixed border: the client area keeps its size, the menu bar sits above it. The
    // layout fixes the window's size, so it follows the menu bar's real height, which some
    // styles only know once the window is polished.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // A folder that cannot be read now is still the choice: the run says why it refuses it.
    m_options.setFolderTemplate(m_preferences->folderTemplate());
    updateTemplateItems();
    updateUndoItem();
    m_txtFolder->setFocus();
    loadSettings();
}

MainWindow::~MainWindow()
{
    delete m_lists; // before the preferences it reads
}

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsSize(4815, 2655));
    setCentralWidget(client);

    QLabel* folderLabel =
        makeLabel(client, QStringLiteral("Label10"), tr("フォルダ作成先フォルダの指定"),
                  folderTip(), twipsRect(120, 120, 3300, 315));
    m_cmdRefer = makeButton(client, QStringLiteral("cmdRefer"), tr("参照..."), tr("フォルダの選択"),
                            twipsRect(3690, 60, 1005, 375));
    m_txtFolder = makeField(client, QStringLiteral("txtFolder"), folderTip(),
                            twipsRect(120, 480, 4575, 360), Qt::AlignLeft);
    // Buddies: a screen reader names each field by the label beside it.
    folderLabel->setBuddy(m_txtFolder);

    // Three rows of label, number field and spinner on the left.
    struct Row {
        const char16_t* label;
        const char16_t* field;
        const char16_t* spinner;
        QString caption;
        QString tip;
        const NumberField* limits;
        QLineEdit** box;
        UpDown** ud;
    };
    const Row rows[] = {
        {u"Label11", u"txtNoStart", u"udNoStart", tr("連番開始番号"), noStartTip(), &NoStartField,
         &m_txtNoStart, &m_udNoStart},
        {u"Label12", u"txtNoEnd", u"udNoEnd", tr("連番終了番号"), noEndTip(), &NoEndField,
         &m_txtNoEnd, &m_udNoEnd},
        {u"Label13", u"txtNoKeta", u"udNoKeta", tr("連番部分の桁数"), noKetaTip(), &NoKetaField,
         &m_txtNoKeta, &m_udNoKeta},
    };
    int top = 960;
    for (const Row& row : rows) {
        QLabel* label = makeLabel(client, QString::fromUtf16(row.label), row.caption, row.tip,
                                  twipsRect(120, top + 15, 1575, 315));
        QLineEdit* box = makeField<NumberEdit>(client, QString::fromUtf16(row.field), row.tip,
                                               twipsRect(1725, top, 705, 345), Qt::AlignRight);
        box->setMaxLength(row.limits->maxLength);
        fitLongestText(box, QString(row.limits->maxLength, QLatin1Char('9')));
        box->setText(QString::number(row.limits->defaultValue));
        box->installEventFilter(this);
        box->setInputMethodHints(Qt::ImhDigitsOnly);
        label->setBuddy(box);
        auto* ud = new UpDown(box, *row.limits, client);
        ud->setObjectName(QString::fromUtf16(row.spinner));
        ud->describe(label->text(), row.tip);
        ud->setGeometry(twipsRect(2430, top, 225, 345));
        *row.box = box;
        *row.ud = ud;
        const NumberField limits = *row.limits;
        connect(box, &QLineEdit::textChanged, this,
                [this, box, limits] { clampField(box, limits); });
        top += 375;
    }

    // The two fixed parts of the name, in their frame on the right.
    const QString constTip = tr("フォルダ名の固定文字列部分の指定(\\/|:<>\"*は使えません)");
    const QString prefixTip = tr("フォルダ名の固定文字列の接頭部分の指定(\\/|:<>\"*は使えません)");
    const QString suffixTip = tr("フォルダ名の固定文字列の接尾部分の指定(\\/|:<>\"*は使えません)");
    m_fraConst = new QGroupBox(tr("固定文字列"), client);
    m_fraConst->setObjectName(QStringLiteral("fraConst"));
    m_fraConst->setToolTip(constTip);
    m_fraConst->setGeometry(twipsRect(2730, 885, 1965, 1170));
    QLabel* prefixLabel = makeLabel(m_fraConst, QStringLiteral("Label20"), tr("接頭部分"),
                                    prefixTip, twipsRect(75, 375, 900, 315));
    m_txtPrefixConst = makeField(m_fraConst, QStringLiteral("txtPrefixConst"), prefixTip,
                                 twipsRect(975, 360, 900, 345), Qt::AlignLeft);
    QLabel* suffixLabel = makeLabel(m_fraConst, QStringLiteral("Label21"), tr("接尾部分"),
                                    suffixTip, twipsRect(75, 765, 900, 315));
    m_txtSuffixConst = makeField(m_fraConst, QStringLiteral("txtSuffixConst"), suffixTip,
                                 twipsRect(975, 750, 900, 345), Qt::AlignLeft);
    prefixLabel->setBuddy(m_txtPrefixConst);
    suffixLabel->setBuddy(m_txtSuffixConst);
    for (QLineEdit* box : {m_txtPrefixConst, m_txtSuffixConst}) {
        connect(box, &QLineEdit::textChanged, this,
                [this, box] { cleanField(box, RefuseMode::FolderName); });
    }
    m_txtFolder->installEventFilter(this);
    m_txtPrefixConst->installEventFilter(this);
    m_txtSuffixConst->installEventFilter(this);

    m_cmdCreateDelete[0] =
        makeButton(client, QStringLiteral("cmdCreateDelete0"), tr("作成"),
                   tr("指定したフォルダを作成します"), twipsRect(120, 2115, 1110, 480));
    m_cmdCreateDelete[1] =
        makeButton(client, QStringLiteral("cmdCreateDelete1"), tr("削除"),
                   tr("指定したフォルダを削除します"), twipsRect(1350, 2115, 1110, 480));
    m_cmdExit = makeButton(client, QStringLiteral("cmdExit"), tr("終了"), exitTip(),
                           twipsRect(3585, 2115, 1110, 480));
    // The exit button doubles as the cancel button in a run, so it keeps the arrow then.
    m_cmdExit->setCursor(Qt::ArrowCursor);
    for (int i = 0; i < 2; ++i) {
        connect(m_cmdCreateDelete[i], &QPushButton::clicked, this,
                [this, i] { cmdCreateDeleteClick(i); });
    }
    connect(m_cmdExit, &QPushButton::clicked, this, &MainWindow::cmdExitClick);
    connect(m_cmdRefer, &QPushButton::clicked, this, &MainWindow::cmdReferClick);

    // How far a long run is, in the free space between the run buttons and the exit button.
    m_progress = new QProgressBar(client);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setGeometry(twipsRect(2565, 2205, 945, 300));
    m_progress->setFormat(QStringLiteral("%p%"));
    setReaderName(m_progress, tr("進み具合"));
    m_progress->hide();
}

void MainWindow::buildMenus()
{
    m_mnuFile = menuBar()->addMenu(tr("ファイル(&F)"));
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction* open = addMenuItem(m_mnuFile, "mnuFileOpen", tr("フォルダ選択"),
                                QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mnuFile->addSeparator();
    QAction* listShow =
        addMenuItem(m_mnuFile, "mnuFileListShow", tr("リスト"), QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* listSeries = addMenuItem(m_mnuFile, "mnuFileListSeries", tr("連番をリストに表示"),
                                      QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction* listImport = addMenuItem(m_mnuFile, "mnuFileListImport", tr("リストのインポート"),
                                      QKeySequence(Qt::CTRL | Qt::Key_I));
    QAction* listExport[2] = {
        addMenuItem(m_mnuFile, "mnuFileListExport0", tr("リストのエクスポート"),
                    QKeySequence(Qt::CTRL | Qt::Key_E)),
        addMenuItem(m_mnuFile, "mnuFileListExport1", tr("展開済みのエクスポート"),
                    QKeySequence(Qt::CTRL | Qt::Key_T))};
    m_mnuFile->addSeparator();
    m_mnuFileTemplate =
        addMenuItem(m_mnuFile, "mnuFileTemplate", withAccessKey(TemplateText::chooseItem(), 'T'));
    m_mnuFileTemplateFoldersOnly = addMenuItem(m_mnuFile, "mnuFileTemplateFoldersOnly",
                                               withAccessKey(TemplateText::foldersOnlyItem(), 'O'));
    m_mnuFileTemplateFoldersOnly->setCheckable(true);
    m_mnuFileTemplateClear = addMenuItem(m_mnuFile, "mnuFileTemplateClear",
                                         withAccessKey(TemplateText::clearItem(), 'N'));
    m_mnuFile->addSeparator();
    QAction* setting =
        addMenuItem(m_mnuFile, "mnuFileSetting", tr("設定"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuFile->addSeparator();
    QAction* create = addMenuItem(m_mnuFile, "mnuFileCreateDelete0", tr("作成"),
                                  QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* remove = addMenuItem(m_mnuFile, "mnuFileCreateDelete1", tr("削除"),
                                  QKeySequence(Qt::CTRL | Qt::Key_D));
    m_mnuFileUndo = addMenuItem(m_mnuFile, "mnuFileUndo", tr("直前の作成を元に戻す"),
                                QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_mnuFileReport = addMenuItem(m_mnuFile, "mnuFileReport", tr("結果を表示"),
                                  QKeySequence(Qt::CTRL | Qt::Key_R));
    m_mnuFile->addSeparator();
    QAction* exit =
        addMenuItem(m_mnuFile, "mnuFileExit", tr("終了"), QKeySequence(Qt::CTRL | Qt::Key_W));
    // Fusion cuts an item's text to fit counting the '&' it does not draw: the widest item,
    // one with an access key, would lose its middle. That one character more keeps it whole.
    m_mnuFile->setMinimumWidth(m_mnuFile->sizeHint().width() +
                               m_mnuFile->fontMetrics().horizontalAdvance(u'&'));

    m_mnuHelp = menuBar()->addMenu(tr("ヘルプ(&H)"));
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    QAction* manual = addMenuItem(m_mnuHelp, "mnuHelpManual", tr("「マニュアル」を開く"),
                                  QKeySequence(Qt::CTRL | Qt::Key_M));
    m_mnuHelp->addSeparator();
    QAction* version = addMenuItem(m_mnuHelp, "mnuHelpVer", tr("バージョン情報"),
                                   QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(manual, &QAction::triggered, this, [this] { openManual(m_prompter, programFolder()); });
    connect(version, &QAction::triggered, this, [this] { showAbout(this); });

    connect(open, &QAction::triggered, this, &MainWindow::cmdReferClick);
    connect(listShow, &QAction::triggered, this, [this] { m_lists->showList(); });
    connect(listSeries, &QAction::triggered, this, &MainWindow::previewSeries);
    connect(m_mnuFileUndo, &QAction::triggered, this, &MainWindow::undoLastRun);
    // The journal may change from outside: the item is named anew whenever the menu opens.
    connect(m_mnuFile, &QMenu::aboutToShow, this, &MainWindow::updateUndoItem);
    connect(m_mnuFileReport, &QAction::triggered, this, [this] {
        if (!m_busy->isBusy())
            m_lists->showReport(this);
    });
    connect(listImport, &QAction::triggered, this, &MainWindow::importList);
    for (int i = 0; i < 2; ++i) {
        connect(listExport[i], &QAction::triggered, this,
                [this, i] { exportSeries(static_cast<ExportKind>(i)); });
    }
    connect(m_mnuFileTemplate, &QAction::triggered, this, &MainWindow::chooseTemplate);
    connect(m_mnuFileTemplateFoldersOnly, &QAction::triggered, this, [this](bool on) {
        FolderTemplate chosen = m_options.folderTemplate();
        chosen.foldersOnly = on;
        setFolderTemplate(chosen);
    });
    // The folder goes; the choice of folders only stays for the next template.
    connect(m_mnuFileTemplateClear, &QAction::triggered, this, [this] {
        FolderTemplate chosen = m_options.folderTemplate();
        chosen.folder.clear();
        setFolderTemplate(chosen);
    });
    connect(setting, &QAction::triggered, this, [this] { m_settingsDialog->exec(); });
    connect(create, &QAction::triggered, this, [this] { cmdCreateDeleteClick(0); });
    connect(remove, &QAction::triggered, this, [this] { cmdCreateDeleteClick(1); });
    connect(exit, &QAction::triggered, this, &MainWindow::cmdExitClick);
}

void MainWindow::setTabOrder()
{
    const QWidget* order[] = {
        m_txtFolder,      m_cmdRefer,       m_txtNoStart,         m_txtNoEnd,           m_txtNoKeta,
        m_txtPrefixConst, m_txtSuffixConst, m_cmdCreateDelete[0], m_cmdCreateDelete[1], m_cmdExit};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

QString MainWindow::targetText() const
{
    return m_txtFolder->text();
}

const NumberField* MainWindow::numberFieldOf(const QObject* box) const
{
    if (box == m_txtNoStart)
        return &NoStartField;
    if (box == m_txtNoEnd)
        return &NoEndField;
    if (box == m_txtNoKeta)
        return &NoKetaField;
    return nullptr;
}

bool MainWindow::cleanField(QLineEdit* box, RefuseMode mode)
{
    const NameFieldCorrection c = cleanNameField(box->text(), box->cursorPosition(), mode, m_style);
    if (!c.found)
        return true;
    m_prompter.showMessage(2, refusedChars(mode, m_style));
    box->setText(c.text); // the nested change finds nothing left to remove
    if (c.caret >= 0)
        box->setCursorPosition(c.caret);
    box->setFocus();
    return false;
}

void MainWindow::clampField(QLineEdit* box, const NumberField& field)
{
    const int caret = box->cursorPosition();
    const ClampResult r = clampNumberText(box->text(), field);
    if (r.notNumber)
        m_prompter.showMessage(3);
    box->setText(r.text);
    box->setCursorPosition(caret);
}

QString MainWindow::browseTargetFolder()
{
    return ::browseTargetFolder(m_services.browser);
}

void MainWindow::cmdReferClick()
{
    const QString folder = browseTargetFolder();
    if (!folder.isEmpty())
        m_txtFolder->setText(folder);
}

void MainWindow::chooseTemplate()
{
    if (m_busy->isBusy())
        return;
    // Where the user is likely to keep it: beside the template chosen before, else in the
    // target folder; the browser's top when neither exists.
    QString start = m_options.folderTemplate().folder;
    if (start.isEmpty() || !m_services.fs.folderExist(start))
        start = m_txtFolder->text().isEmpty() ? programFolder() : m_txtFolder->text();
    QString folder;
    if (m_services.fs.folderExist(start)) {
        m_services.browser.setRealFolderOnly(true);
        folder = m_services.browser.referUser(start);
    } else {
        folder = browseTargetFolder();
    }
    if (folder.isEmpty())
        return;
    FolderTemplate chosen = m_options.folderTemplate();
    chosen.folder = folder;
    setFolderTemplate(chosen);
}

void MainWindow::setFolderTemplate(const FolderTemplate& value)
{
    m_options.setFolderTemplate(value);
    if (!m_preferences->setFolderTemplate(value))
        m_prompter.prompt(PromptRequest{-1, TemplateText::notSaved(m_preferences->path()),
                                        MessageStyle::Ok | MessageStyle::IconWarning});
    updateTemplateItems();
}

void MainWindow::updateTemplateItems()
{
    const FolderTemplate chosen = m_options.folderTemplate();
    const bool idle = !m_busy->isBusy();
    m_mnuFileTemplate->setEnabled(idle);
    m_mnuFileTemplateFoldersOnly->setEnabled(idle);
    m_mnuFileTemplateFoldersOnly->setChecked(chosen.foldersOnly);
    m_mnuFileTemplateClear->setEnabled(idle && chosen.isSet());
    showTemplateLine();
}

void MainWindow::showTemplateLine()
{
    const FolderTemplate chosen = m_options.folderTemplate();
    if (!chosen.isSet()) {
        // Gone rather than hidden: the window is its old size and a reader finds no empty line.
        if (QStatusBar* bar = std::exchange(m_templateBar, nullptr)) {
            m_templateLine = nullptr;
            setStatusBar(nullptr);
            delete bar;
            layout()->activate();
        }
        return;
    }
    if (!m_templateBar) {
        m_templateBar = new QStatusBar(this);
        m_templateBar->setObjectName(QStringLiteral("statusTemplate"));
        m_templateBar->setSizeGripEnabled(false); // the window has a fixed size
        m_templateLine = new TemplateLine(m_templateBar);
        m_templateLine->setObjectName(QStringLiteral("lblTemplate"));
        m_templateBar->addWidget(m_templateLine, 1);
        setStatusBar(m_templateBar);
        m_templateBar->show();
        layout()->activate();
        // The text starts where the controls above it do.
        const int indent = twipsToPixels(120) - m_templateLine->mapTo(this, QPoint(0, 0)).x();
        m_templateLine->setContentsMargins(std::max(0, indent), 0, 0, 0);
    }
    m_templateLine->setLine(
        TemplateText::statusLine(QDir::toNativeSeparators(chosen.folder), chosen.foldersOnly));
    layout()->activate();
}

namespace
{

// Local files and folders as a file manager drags them; anything else (text, web links) is
// refused.
QStringList droppedLocalPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        QString path = QDir::toNativeSeparators(url.toLocalFile());
        // As the file manager delivers a folder: a root keeps its separator, nothing else.
        while (path.size() > 1 && path.endsWith(QDir::separator()) &&
               !(path.size() == 3 && path.at(1) == QLatin1Char(':')))
            path.chop(1);
        paths << path;
    }
    return paths;
}

} // namespace

bool MainWindow::folderDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // Always a copy, never a move: a drop taken as a move lets some file managers
        // delete the dragged folders at their source.
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedLocalPaths(drag->mimeData()).isEmpty() &&
            (drag->possibleActions() & Qt::CopyAction)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = droppedLocalPaths(drop->mimeData());
        if (paths.isEmpty() || !(drop->possibleActions() & Qt::CopyAction)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        WindowRunContext context(this, m_cmdExit);
        const QString folder = lastExistingFolder(paths, m_services.fs, context);
        if (!folder.isEmpty())
            m_txtFolder->setText(folder);
        return true;
    }
    default:
        return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtFolder && folderDragEvent(event))
        return true;
    if (event->type() == QEvent::KeyPress) {
        if (const NumberField* field = numberFieldOf(watched)) {
            auto* box = static_cast<QLineEdit*>(watched);
            const int key = static_cast<QKeyEvent*>(event)->key();
            const int code = key == Qt::Key_Up      ? KeyCode::Up
                             : key == Qt::Key_Down  ? KeyCode::Down
                             : key == Qt::Key_Space ? KeyCode::Space
                                                    : 0;
            // The key itself goes on to the field: a space then lands in the emptied field.
            if (code)
                box->setText(stepNumberText(box->text(), *field, code));
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        // A field keeps Ctrl+C for copying only while it has something selected to copy;
        // otherwise the key is the menu's "作成".
        auto* key = static_cast<QKeyEvent*>(event);
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box && key->matches(QKeySequence::Copy) && !box->hasSelectedText()) {
            event->ignore();
            return true;
        }
        // Likewise Ctrl+Z undoes typing while there is typing to undo, else the last run.
        if (box && key->matches(QKeySequence::Undo) && !box->isUndoAvailable()) {
            event->ignore();
            return true;
        }
        // Copy, paste and undo are the fields' own; every other menu key is the menu's, even
        // where a field on Linux would take it (Ctrl+E for "end of line", Ctrl+D to delete).
        if (box && !key->matches(QKeySequence::Copy) && !key->matches(QKeySequence::Paste) &&
            !key->matches(QKeySequence::Undo) &&
            isMenuShortcut(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event)
{
    // Back from a terminal where a command ran: Ctrl+Z takes back what the journal says now.
    if (event->type() == QEvent::WindowActivate && m_mnuFileUndo && m_busy)
        updateUndoItem();
    return QMainWindow::event(event);
}

bool MainWindow::isMenuShortcut(const QKeySequence& key) const
{
    for (const QMenu* menu : {m_mnuFile, m_mnuHelp}) {
        for (const QAction* action : menu->actions()) {
            if (!action->shortcut().isEmpty() && action->shortcut() == key)
                return true;
        }
    }
    return false;
}

SeriesFieldTexts MainWindow::fieldTexts() const
{
    return {m_txtFolder->text(), m_txtNoStart->text(),     m_txtNoEnd->text(),
            m_txtNoKeta->text(), m_txtPrefixConst->text(), m_txtSuffixConst->text()};
}

bool MainWindow::getSeriesParameters(SeriesParameters& out)
{
    if (!m_txtFolder->text().isEmpty() && !cleanField(m_txtFolder, RefuseMode::Path))
        return false;
    const SeriesValidation v =
        ::getSeriesParameters(fieldTexts(), m_options.zeroFill(), m_style, programFolder());
    if (v.ok) {
        out = v.params;
        return true;
    }
    m_prompter.showMessage(v.message, v.insert);
    QLineEdit* box = nullptr;
    switch (v.field) {
    case SeriesField::Folder:
        box = m_txtFolder;
        break;
    case SeriesField::NoStart:
        box = m_txtNoStart;
        break;
    case SeriesField::NoEnd:
        box = m_txtNoEnd;
        break;
    case SeriesField::NoKeta:
        box = m_txtNoKeta;
        break;
    case SeriesField::Prefix:
        box = m_txtPrefixConst;
        break;
    case SeriesField::Suffix:
        box = m_txtSuffixConst;
        break;
    case SeriesField::None:
        break;
    }
    if (box)
        box->setText(v.fieldText);
    return false;
}

void MainWindow::cmdCreateDeleteClick(int index)
{
    if (m_busy->isBusy())
        return;
    SeriesParameters params;
    if (!getSeriesParameters(params))
        return;
    enterBusyState();
    WindowRunContext context = runContext(index == 0 ? tr("作成", "progress") : tr("削除の準備"));
    if (index == 0)
        m_engine.createSeries(params, context);
    else
        m_engine.deleteSeries(params, context);
    leaveBusyState();
    if (m_busy->takeCloseAfterRun())
        close();
}

void MainWindow::importList()
{
    m_lists->importList();
    if (closeAfterRunRequested())
        close();
}

void MainWindow::exportSeries(ExportKind kind)
{
    if (m_busy->isBusy())
        return;
    SeriesParameters params;
    if (!getSeriesParameters(params))
        return;
    const QString path = m_lists->chooseExportFile();
    if (path.isEmpty())
        return;
    QStringList lines;
    enterBusyState();
    if (kind == ExportKind::Raw) {
        lines << seriesRawListLine(params);
    } else {
        WindowRunContext context = runContext(tr("エクスポート"));
        seriesExpandedListLines(params, context, lines);
    }
    leaveBusyState();
    m_lists->writeExport(path, lines);
    if (closeAfterRunRequested())
        close();
}

WindowRunContext MainWindow::runContext(const QString& what)
{
    return WindowRunContext(this, m_cmdExit,
                            [this, what](int done, int total) { showProgress(what, done, total); });
}

void MainWindow::showProgress(const QString& what, int done, int total)
{
    if (total < 2)
        return;
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    m_progress->setToolTip(QStringLiteral("%1 / %2").arg(done).arg(total));
    m_progress->show();
    setWindowTitle(applicationTitle() + QStringLiteral(" - ") + what +
                   QStringLiteral(" %1 / %2").arg(done).arg(total));
}

void MainWindow::enterBusyState()
{
    m_busy->enter();
}

void MainWindow::previewSeries()
{
    if (m_busy->isBusy())
        return;
    SeriesParameters params;
    if (getSeriesParameters(params))
        m_lists->showSeries(params);
}

void MainWindow::undoLastRun()
{
    if (m_busy->isBusy() || m_services.steps.nextUndo() == FolderSteps::UndoTarget::None)
        return;
    enterBusyState();
    m_services.steps.undoLast();
    leaveBusyState();
}

void MainWindow::updateUndoItem()
{
    // Another process (the command line) may have run meanwhile: the journal on disk says.
    const FolderSteps::UndoTarget next =
        m_busy->isBusy() ? FolderSteps::UndoTarget::None : m_services.steps.nextUndo();
    m_mnuFileUndo->setText(next == FolderSteps::UndoTarget::Deletion ? tr("直前の削除を元に戻す")
                                                                     : tr("直前の作成を元に戻す"));
    m_mnuFileUndo->setEnabled(next != FolderSteps::UndoTarget::None);
    m_mnuFileReport->setEnabled(!m_busy->isBusy() && m_lists->hasReport());
}

void MainWindow::leaveBusyState()
{
    m_busy->leave();
    updateUndoItem();
    updateTemplateItems();
    m_progress->hide();
    setWindowTitle(applicationTitle());
}

void MainWindow::cmdExitClick()
{
    if (!m_busy->requestCancel([this] { m_prompter.showMessage(18); }))
        close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_busy->holdClose(event))
        return;
    exitCleanup();
    event->accept();
}

void MainWindow::setFieldTexts(const SeriesFieldTexts& texts)
{
    // Through setText, so each field's own change rule sees the text as if it were typed.
    m_txtFolder->setText(texts.folder);
    setNumberText(m_txtNoStart, texts.noStart);
    setNumberText(m_txtNoEnd, texts.noEnd);
    setNumberText(m_txtNoKeta, texts.noKeta);
    m_txtPrefixConst->setText(texts.prefix);
    m_txtSuffixConst->setText(texts.suffix);
}

void MainWindow::setNumberText(QLineEdit* box, const QString& text)
{
    // The length limit is for typing; a longer text from elsewhere is judged by its value
    // rather than cut, so 123456 becomes the maximum and not 12345.
    if (text.size() > box->maxLength()) {
        if (const auto value = parseNumber(text)) {
            const NumberField& f = *numberFieldOf(box);
            box->setText(
                QString::number(std::clamp<qint64>(roundNumber(*value), f.minimum, f.maximum)));
            return;
        }
    }
    box->setText(text);
}

void MainWindow::setDefaultFields()
{
    setFieldTexts(defaultFieldTexts(m_paths.tempFolder));
}

void MainWindow::resetSettings()
{
    m_options.setDefaults();
    setDefaultFields();
}

std::optional<Language> MainWindow::savedLanguage() const
{
    return m_preferences->language();
}

void MainWindow::saveLanguage(Language language)
{
    if (!m_preferences->setLanguage(language))
        m_prompter.prompt(PromptRequest{-1,
                                        tr("表示言語を保存できませんでした。\r\n"
                                           "次に起動したときも、これまでの言語で表示します。\r\n") +
                                            m_preferences->path(),
                                        MessageStyle::Ok | MessageStyle::IconWarning});
}

void MainWindow::saveSettings()
{
    if (!writeSettingsFile(m_paths.settingsFile, m_options, fieldTexts(), m_paths.tempFolder))
        m_prompter.showMessage(0);
}

void MainWindow::loadSettings()
{
    m_settingsDialog = new SettingsDialog(m_options, *this, this);
    const SettingsRead read = readSettingsFile(m_paths.settingsFile);
    applySettingsRead(read, m_options);
    switch (read.outcome) {
    case SettingsRead::NotOpened: // a missing or unreadable file is replaced at once
        resetSettings();
        saveSettings();
        break;
    case SettingsRead::Reset:
        resetSettings();
        break;
    case SettingsRead::DefaultFields:
        setDefaultFields();
        break;
    case SettingsRead::Fields:
        setFieldTexts(read.fields);
        break;
    }
}

void MainWindow::exitCleanup()
{
    if (m_options.useSavedSettings() == 1 && m_options.saveFieldValues() == 1)
        saveSettings();
}
