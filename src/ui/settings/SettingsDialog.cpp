#include "SettingsDialog.h"

#include "SettingsHost.h"
#include "WrapButton.h"
#include "common/Accessible.h"
#include "common/Twips.h"
#include "common/UiFont.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace
{

// Geometry in twips: four frames down the left, five buttons down the right.
constexpr int FrameLeft = 120;
constexpr int FrameTop = 120;
constexpr int FrameWidth = 3855;
constexpr int FrameHeight = 1095;
constexpr int FrameStep = 1185;
// The longest caption needs nearly the whole width of its frame.
constexpr int RowLeft = 75;
constexpr int RowWidth = 3765;
constexpr int RowHeight = 360;
constexpr int UpperRowTop = 330;
constexpr int LowerRowTop = 690;
// The second check box starts under the text of the first, past its indicator.
constexpr int IndentedRowLeft = 360;
constexpr int ButtonLeft = 4050;
constexpr int ButtonWidth = 1170;
constexpr int ButtonHeight = 480;
// The display language, below the frames.
constexpr int LanguageRowHeight = 450;
constexpr int LanguageLabelWidth = 1500;
constexpr int LanguageBoxWidth = 2000;

int frameTop(int frame)
{
    return FrameTop + frame * FrameStep;
}

// The lower buttons stand beside the middle of the lower three frames.
int buttonBesideFrame(int frame)
{
    return frameTop(frame) + (FrameHeight - ButtonHeight) / 2;
}

// Captions and tips are translated where they are used.
struct Choice {
    const char16_t* name;
    const char* caption;
    const char* tip;
};

struct Frame {
    const char16_t* name;
    const char* caption;
    const char* tip;
    Choice rows[2];
};

const Frame frames[] = {
    {u"fraSetFolderName",
     QT_TRANSLATE_NOOP("SettingsDialog", "フォルダ名の設定"),
     QT_TRANSLATE_NOOP("SettingsDialog", "作成するフォルダ名の連番部分の設定"),
     {{u"optSetFolderName0", QT_TRANSLATE_NOOP("SettingsDialog", "連番部分を\"0\"で埋める"),
       QT_TRANSLATE_NOOP("SettingsDialog", "例）001、002～020、021")},
      {u"optSetFolderName1", QT_TRANSLATE_NOOP("SettingsDialog", "連番部分を\"0\"で埋めない"),
       QT_TRANSLATE_NOOP("SettingsDialog", "例）1、2～20、21")}}},
    {u"fraSetCreate",
     QT_TRANSLATE_NOOP("SettingsDialog", "作成時の設定"),
     QT_TRANSLATE_NOOP("SettingsDialog", "フォルダを作成する時の設定"),
     {{u"optSetCreate0", QT_TRANSLATE_NOOP("SettingsDialog", "同名フォルダがある時無視する"),
       QT_TRANSLATE_NOOP("SettingsDialog",
                         "既に同名フォルダがある時確認ダイアログを出さずに無視する")},
      {u"optSetCreate1", QT_TRANSLATE_NOOP("SettingsDialog", "確認ダイアログを出す"),
       QT_TRANSLATE_NOOP("SettingsDialog", "既に同名フォルダがある時確認ダイアログを出す")}}},
    {u"fraSetDelete",
     QT_TRANSLATE_NOOP("SettingsDialog", "削除時の設定"),
     QT_TRANSLATE_NOOP("SettingsDialog", "作成したフォルダを削除する時の設定"),
     {{u"optSetDelete0", QT_TRANSLATE_NOOP("SettingsDialog", "中身のあるフォルダを削除しない"),
       QT_TRANSLATE_NOOP("SettingsDialog", "フォルダの中にファイルがある時は削除せずに残す")},
      {u"optSetDelete1", QT_TRANSLATE_NOOP("SettingsDialog", "中身のあるフォルダも削除する"),
       QT_TRANSLATE_NOOP("SettingsDialog", "フォルダの中にファイルがある時も削除する")}}},
    {u"fraSetSetting",
     QT_TRANSLATE_NOOP("SettingsDialog", "設定の保存"),
     QT_TRANSLATE_NOOP("SettingsDialog", "この設定の扱いの設定"),
     {{u"chkSetSetting1", QT_TRANSLATE_NOOP("SettingsDialog", "保存した設定を起動時に使う"),
       QT_TRANSLATE_NOOP("SettingsDialog", "保存した設定を次回起動時に使う")},
      {u"chkSetSetting2", QT_TRANSLATE_NOOP("SettingsDialog", "各値を初期値として保存する"),
       QT_TRANSLATE_NOOP("SettingsDialog",
                         "各項目(開始番号、終了番号など)も初期値として保存する")}}},
};

template <class Button> Button* makeChoice(QWidget* parent, const Choice& choice, const QRect& at)
{
    auto* button =
        new Button(QCoreApplication::translate("SettingsDialog", choice.caption), parent);
    button->setObjectName(QString::fromUtf16(choice.name));
    button->setToolTip(QCoreApplication::translate("SettingsDialog", choice.tip));
    button->setGeometry(at);
    return button;
}

QPushButton* placeButton(QPushButton* button, const QString& name, const QString& tip, int top)
{
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setGeometry(twipsRect(ButtonLeft, top, ButtonWidth, ButtonHeight));
    return button;
}

} // namespace

SettingsDialog::SettingsDialog(Options& options, SettingsHost& host, QWidget* parent)
    : QDialog(parent), m_options(options), m_host(host)
{
    setObjectName(QStringLiteral("frmSetting"));
    setWindowTitle(tr("設定ダイアログ"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(uiFont(11));
    buildControls();
    setTabOrder();
    // One row below the frames for the display language.
    setFixedSize(twipsSize(5340, 4905 + LanguageRowHeight));

    showOptions();
    connect(&m_options, &Options::changed, this, &SettingsDialog::showOptions);
}

void SettingsDialog::buildControls()
{
    for (int f = 0; f < 4; ++f) {
        const Frame& frame = frames[f];
        auto* box =
            new QGroupBox(QCoreApplication::translate("SettingsDialog", frame.caption), this);
        box->setObjectName(QString::fromUtf16(frame.name));
        box->setToolTip(QCoreApplication::translate("SettingsDialog", frame.tip));
        box->setGeometry(twipsRect(FrameLeft, frameTop(f), FrameWidth, FrameHeight));
        m_frames[f] = box;
    }

    for (int g = 0; g < Options::GroupCount; ++g) {
        const auto group = static_cast<Options::Group>(g);
        const int tops[] = {UpperRowTop, LowerRowTop};
        for (int i = 0; i < Options::ButtonsPerGroup; ++i) {
            auto* button = makeChoice<QRadioButton>(
                m_frames[g], frames[g].rows[i], twipsRect(RowLeft, tops[i], RowWidth, RowHeight));
            connect(button, &QRadioButton::clicked, this,
                    [this, group, i] { onOptionClicked(group, i); });
            m_opt[g][i] = button;
        }
    }

    QGroupBox* setting = m_frames[3];
    m_chkSetSetting1 = makeChoice<QCheckBox>(setting, frames[3].rows[0],
                                             twipsRect(RowLeft, UpperRowTop, RowWidth, RowHeight));
    m_chkSetSetting2 = makeChoice<QCheckBox>(
        setting, frames[3].rows[1],
        twipsRect(IndentedRowLeft, LowerRowTop, RowWidth + RowLeft - IndentedRowLeft, RowHeight));
    connect(m_chkSetSetting1, &QCheckBox::clicked, this, &SettingsDialog::onUseSavedClicked);
    connect(m_chkSetSetting2, &QCheckBox::clicked, this, &SettingsDialog::onSaveFieldsClicked);

    m_cmdOK = placeButton(new QPushButton(tr("O　K"), this), QStringLiteral("cmdOK"),
                          tr("操作を反映する"), 195);
    m_cmdOK->setDefault(true);
    m_cmdCancel = placeButton(new QPushButton(tr("キャンセル"), this), QStringLiteral("cmdCancel"),
                              tr("操作をキャンセルする"), 735);
    m_cmdSave = placeButton(new QPushButton(tr("保存"), this), QStringLiteral("cmdSave"),
                            tr("現在の設定を保存する"), buttonBesideFrame(1));
    m_cmdDefault = placeButton(new WrapButton(tr("初期値に戻して保存する"), this),
                               QStringLiteral("cmdDefault"), tr("設定を初期値に戻して保存する"),
                               buttonBesideFrame(2));
    m_cmdDefault->setFont(uiFont(9));
    m_cmdUndo = placeButton(new QPushButton(tr("元に戻す"), this), QStringLiteral("cmdUndo"),
                            tr("変更したものを元に戻す"), buttonBesideFrame(3));

    // Each language named in itself; the choice holds from the next start.
    const int languageTop = frameTop(4) - FrameStep + FrameHeight + 75;
    auto* label = new QLabel(tr("表示言語"), this);
    label->setObjectName(QStringLiteral("lblLanguage"));
    label->setGeometry(twipsRect(FrameLeft + RowLeft, languageTop, LanguageLabelWidth, RowHeight));
    m_cboLanguage = new QComboBox(this);
    m_cboLanguage->setObjectName(QStringLiteral("cboLanguage"));
    m_cboLanguage->addItem(QStringLiteral("日本語"), int(Language::Japanese));
    m_cboLanguage->addItem(QStringLiteral("English"), int(Language::English));
    m_cboLanguage->setGeometry(twipsRect(FrameLeft + RowLeft + LanguageLabelWidth, languageTop,
                                         LanguageBoxWidth, RowHeight));
    m_cboLanguage->setToolTip(tr("次に起動したときから、選んだ言語で表示します"));
    label->setBuddy(m_cboLanguage);
    const auto language = m_host.savedLanguage().value_or(installedLanguage());
    m_cboLanguage->setCurrentIndex(m_cboLanguage->findData(int(language)));
    connect(m_cboLanguage, &QComboBox::activated, this, [this](int index) {
        m_host.saveLanguage(static_cast<Language>(m_cboLanguage->itemData(index).toInt()));
    });

    connect(m_cmdOK, &QPushButton::clicked, this, &SettingsDialog::onOk);
    connect(m_cmdCancel, &QPushButton::clicked, this, &SettingsDialog::onCancel);
    connect(m_cmdSave, &QPushButton::clicked, this, &SettingsDialog::onSave);
    connect(m_cmdDefault, &QPushButton::clicked, this, &SettingsDialog::onDefault);
    connect(m_cmdUndo, &QPushButton::clicked, this, &SettingsDialog::onUndo);
}

void SettingsDialog::setTabOrder()
{
    QWidget* order[] = {m_opt[0][0], m_opt[0][1],      m_opt[1][0],      m_opt[1][1],  m_opt[2][0],
                        m_opt[2][1], m_chkSetSetting1, m_chkSetSetting2, m_cmdOK,      m_cmdCancel,
                        m_cmdSave,   m_cmdDefault,     m_cmdUndo,        m_cboLanguage};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void SettingsDialog::showOptions()
{
    for (int g = 0; g < Options::GroupCount; ++g)
        m_opt[g][m_options.checkedIndex(static_cast<Options::Group>(g))]->setChecked(true);
    m_chkSetSetting1->setChecked(m_options.useSavedSettings() == 1);
    m_chkSetSetting2->setChecked(m_options.saveFieldValues() == 1);
    // Whether the field values are saved only matters while the saved settings are used.
    m_chkSetSetting2->setEnabled(m_options.useSavedSettings() == 1);
}

void SettingsDialog::takeSnapshot()
{
    m_snapshot.useSavedSettings = m_options.useSavedSettings();
    for (int g = 0; g < Options::GroupCount; ++g)
        m_snapshot.checkedIndex[g] = m_options.checkedIndex(static_cast<Options::Group>(g));
    m_snapshot.saveFieldValues = m_options.saveFieldValues();
    m_snapshot.fields = m_host.fieldTexts();
}

void SettingsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is no new showing.
    if (event->spontaneous())
        return;
    m_cmdUndo->setEnabled(false);
    takeSnapshot();
}

void SettingsDialog::closeEvent(QCloseEvent* event)
{
    // The title-bar close hides the dialog as OK does; the options are already in force.
    onOk();
    event->accept();
}

void SettingsDialog::reject()
{
    onCancel();
}

void SettingsDialog::onOk()
{
    done(Accepted);
    m_cmdUndo->setEnabled(false);
}

void SettingsDialog::onCancel()
{
    done(Rejected);
    onUndo();
    onSave();
}

void SettingsDialog::onSave()
{
    m_host.saveSettings();
    m_cmdUndo->setEnabled(false);
}

void SettingsDialog::onDefault()
{
    m_host.resetSettings();
    onSave();
}

void SettingsDialog::onUndo()
{
    m_options.setUseSavedSettings(m_snapshot.useSavedSettings);
    for (int g = 0; g < Options::GroupCount; ++g)
        m_options.setCheckedIndex(static_cast<Options::Group>(g), m_snapshot.checkedIndex[g]);
    m_options.setSaveFieldValues(m_snapshot.saveFieldValues);
    m_host.setFieldTexts(m_snapshot.fields);
    m_cmdUndo->setEnabled(false);
}

void SettingsDialog::onOptionClicked(Options::Group group, int index)
{
    m_options.setCheckedIndex(group, index);
    m_cmdUndo->setEnabled(true);
}

void SettingsDialog::onUseSavedClicked(bool checked)
{
    m_options.setUseSavedSettings(checked ? 1 : 0);
    m_cmdUndo->setEnabled(true);
}

void SettingsDialog::onSaveFieldsClicked(bool checked)
{
    m_options.setSaveFieldValues(checked ? 1 : 0);
    m_cmdUndo->setEnabled(true);
}
