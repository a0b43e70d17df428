// The preview before a table joins the list: what it shows is what would be added.
#include "TestHelpers.h"
#include "folderlist/SheetPreview.h"
#include "sheet/Workbook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace
{

SheetTable textTable(const QString& text)
{
    return readDelimited(text, u'\t');
}

} // namespace

class TestSheetPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choicesChangeWhatIsShown_data()
    {
        QTest::addColumn<QString>("cells");
        QTest::addColumn<bool>("headerOffered");
        QTest::addColumn<QStringList>("shown");          // as opened
        QTest::addColumn<QStringList>("withoutFilling"); // the fill box cleared

        QTest::newRow("headings over a merged look")
            << "年度\t部署\n2024\t営業部\n\t総務部\n"
            << true << QStringList{"2024/営業部", "2024/総務部"} << QStringList{};
        QTest::newRow("data from the first row")
            << "2024\ta\n2025\tb\n"
            << false << QStringList{"2024/a", "2025/b"} << QStringList{"2024/a", "2025/b"};
    }
    void choicesChangeWhatIsShown()
    {
        QFETCH(QString, cells);
        QFETCH(bool, headerOffered);
        SheetPreview preview([cells](const QString&) { return textTable(cells); },
                             PathStyle::Posix);
        auto* skip = childOf<QCheckBox>(&preview, "chkSkipHeader");
        auto* fill = childOf<QCheckBox>(&preview, "chkFillDown");
        auto* add = childOf<QPushButton>(&preview, "cmdSheetAdd");
        QCOMPARE(skip->isChecked(), headerOffered);
        QTEST(preview.shownPaths(), "shown");
        QVERIFY(add->isEnabled());
        fill->setChecked(false);
        QTEST(preview.shownPaths(), "withoutFilling");
        // Refused now (an empty cell with nothing to fill it): nothing can be added.
        QCOMPARE(add->isEnabled(), preview.refusal().isEmpty());
        QCOMPARE(preview.options().lines.fillDown, false);
        QCOMPARE(preview.options().lines.skipHeader, headerOffered);
    }

    void workbookSheetsToChooseFrom()
    {
        const QString path = QStringLiteral(NMAKER_SHEET_DATA "/cases.xlsx");
        SheetPreview preview([path](const QString& sheet) { return readWorkbook(path, sheet); },
                             PathStyle::Posix);
        auto* sheets = childOf<QComboBox>(&preview, "cboSheet");
        QCOMPARE(sheets->count(), 2);
        QCOMPARE(sheets->currentText(), QStringLiteral("案件"));
        QCOMPARE(preview.shownPaths().first(), QStringLiteral("2024/営業部/001"));
        sheets->setCurrentText(QStringLiteral("予備"));
        QCOMPARE(preview.options().sheet, QStringLiteral("予備"));
        childOf<QCheckBox>(&preview, "chkSkipHeader")->setChecked(false);
        QCOMPARE(preview.shownPaths(), QStringList{QStringLiteral("別/シート")});
    }

    void refusedTableNamesTheCell()
    {
        SheetPreview preview([](const QString&) { return textTable("a\tb/c\n"); },
                             PathStyle::Posix);
        QVERIFY(preview.refusal().contains(QStringLiteral("1 行 2 列目")));
        QVERIFY(!childOf<QPushButton>(&preview, "cmdSheetAdd")->isEnabled());
        QVERIFY(preview.shownPaths().isEmpty());
    }
};

QTEST_MAIN(TestSheetPreview)
#include "test_sheet_preview.moc"
