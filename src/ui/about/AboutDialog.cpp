#include "AboutDialog.h"

#include "common/Accessible.h"
#include "common/AppIcon.h"
#include "common/Twips.h"
#include "common/UiFont.h"

#include "Version.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace
{

// Geometry in twips. The icon stands at the top left, the texts to its right; the separator
// runs across the dialog between the description and the notice.
constexpr int ClientWidth = 4500;
constexpr int ClientHeight = 2250;
constexpr int Margin = 120;
constexpr int IconSize = 720;
constexpr int TextLeft = 1020;
constexpr int TitleHeight = 540;
constexpr int VersionLeft = 3180;
constexpr int VersionWidth = ClientWidth - Margin - VersionLeft;
constexpr int DescriptionTop = Margin + TitleHeight;
constexpr int DescriptionHeight = 660; // two lines
constexpr int SeparatorTop = 1350;
constexpr int DisclaimerTop = 1410;
constexpr int ButtonWidth = 840;
constexpr int ButtonHeight = 420;
constexpr int ButtonLeft = ClientWidth - Margin - ButtonWidth;
constexpr int ButtonTop = ClientHeight - 90 - ButtonHeight;

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QString& tip,
                  const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// One line of the etched separator: a strip filled with one colour of the palette.
void makeLine(QWidget* parent, const QString& name, QPalette::ColorRole color, int pixels)
{
    auto* line = new QWidget(parent);
    line->setObjectName(name);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(color));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    line->setGeometry(twipsToPixels(60), twipsToPixels(SeparatorTop),
                      twipsToPixels(ClientWidth - 120), pixels);
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("ﾊﾞｰｼﾞｮﾝ情報 NMaker"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(uiFont(11));
    buildControls();
    setFixedSize(twipsSize(ClientWidth, ClientHeight));
}

int AboutDialog::showModal(QWidget* parent)
{
    AboutDialog dialog(parent);
    return dialog.exec();
}

void AboutDialog::reject()
{
    accept();
}

void AboutDialog::buildControls()
{
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    setReaderName(icon, tr("NMaker のアイコン"));
    icon->setGeometry(twipsRect(Margin, Margin, IconSize, IconSize));
    icon->setPixmap(appIcon().pixmap(icon->size(), devicePixelRatioF()));

    QLabel* title = makeLabel(this, QStringLiteral("lblTitle"), QStringLiteral("Nestmaker"),
                              tr("ソフトの名前です"),
                              twipsRect(TextLeft, Margin, VersionLeft - TextLeft, TitleHeight));
    title->setFont(uiFont(18, true));

    const QString version = tr("Version ") + QString::number(NMAKER_VERSION_MAJOR) + u'.' +
                            QString::number(NMAKER_VERSION_MINOR);
    QLabel* lblVersion =
        makeLabel(this, QStringLiteral("lblVersion"), version, tr("バージョン番号です"),
                  twipsRect(VersionLeft, Margin, VersionWidth, TitleHeight));
    // Level with the title's baseline rather than its top, and flush with the right margin.
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignBottom);

    QLabel* description = makeLabel(
        this, QStringLiteral("lblDescription"),
        tr("このアプリは、任意の連番付きの名前でフォルダを作成します"), tr("ｱﾌﾟﾘｹｰｼｮﾝの説明です"),
        twipsRect(TextLeft, DescriptionTop, ClientWidth - Margin - TextLeft, DescriptionHeight));
    description->setWordWrap(true);

    // Grey over white, the white one pixel lower: the separator looks cut into the dialog.
    makeLine(this, QStringLiteral("Line11"), QPalette::Light, 2);
    makeLine(this, QStringLiteral("Line10"), QPalette::Dark, 1);

    QLabel* disclaimer = makeLabel(
        this, QStringLiteral("lblDisclaimer"),
        tr("警告:  本ソフトは無保証です。作成と削除は自己責任で。"), tr("著作権です"),
        twipsRect(Margin, DisclaimerTop, ButtonLeft - 90 - Margin, ClientHeight - DisclaimerTop));
    disclaimer->setWordWrap(true);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setToolTip(tr("このダイアログを閉じます"));
    ok->setGeometry(twipsRect(ButtonLeft, ButtonTop, ButtonWidth, ButtonHeight));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
