// "方案比较" on the real main window, offscreen.
#include "common/gui_fixture.h"

#include "app/tform1.h"
#include "app/variants_window.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tpworm {
namespace {
using testing::ProgramFixture;

QStringList column(QTableWidget* t, int c)
{
    QStringList texts;
    for (int r = 0; r < t->rowCount(); ++r)
        texts << t->item(r, c)->text();
    return texts;
}

QStringList captions(TForm1& f)
{
    QStringList texts;
    for (QLabel* label : f.findChildren<QLabel*>())
        texts << label->objectName() + "=" + label->text();
    for (QLineEdit* edit : f.findChildren<QLineEdit*>())
        texts << edit->objectName() + "=" + edit->text() + (edit->isEnabled() ? "" : " locked");
    texts.sort();
    return texts;
}

TEST(Variants, SortsByHeaderAndLoadsACandidateAsIfTyped)
{
    ProgramFixture typed;
    TForm1& t = typed.start();
    t.Edit1->setText("315");
    t.Edit3->setText("45");
    t.Edit4->setText("2");
    t.SpeedButton2Click();
    const QStringList expected = captions(t);

    ProgramFixture fx;
    TForm1& f = fx.start();
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    f.Edit4->setText("2");
    f.findChild<QToolButton*>("VariantsButton")->click();
    auto* window = f.findChild<VariantsWindow*>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTableWidget* table = window->table();
    ASSERT_EQ(table->rowCount(), 29);

    // A click on the header of the generating-plane tilt sorts by it, as numbers.
    const int throat = 9;
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(table->horizontalHeader()->sectionViewportPosition(throat) + 5, 5));
    QList<double> values;
    for (const QString& text : column(table, throat))
        if (!text.isEmpty())
            values << text.toDouble();
    ASSERT_GT(values.size(), 10);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()) || std::is_sorted(values.rbegin(), values.rend()));
    QStringList distances = column(table, 0);
    EXPECT_FALSE(std::is_sorted(distances.begin(), distances.end(),
                                [](const QString& a, const QString& b) { return a.toDouble() < b.toDouble(); }))
        << "the rows moved away from the series order";

    // A double-click on the 315 mm candidate: the main window as typing it gives.
    const int row = int(column(table, 0).indexOf("315"));
    ASSERT_GE(row, 0);
    const QRect cell = table->visualItemRect(table->item(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(captions(f), expected);
    EXPECT_FALSE(f.Edit1->isEnabled());

    // Saved as CSV through the dialog seam: header and one line per candidate.
    QTemporaryDir dir;
    fx.dialogs.files.append(dir.filePath("v.csv"));
    window->saveAsCsv();
    QFile saved(dir.filePath("v.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    EXPECT_EQ(lines.size(), 29 + 2);
    EXPECT_TRUE(lines[0].startsWith("中心距,头数,齿数,速比"));
}

} // namespace
} // namespace tpworm
