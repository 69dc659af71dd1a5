// The accuracy-grade look-up: which row of which table, which texts it
// writes, its silent failures, and when it runs.
#include "calcflow_fixture.h"

#include <QCheckBox>
#include <QFile>

using tpworm::TForm1;
using tpworm::testing::CalcFlowTest;

namespace {

constexpr const char* kStart = "7级(GB/T16445-1996)";
const QString kStartGradeText = QString::fromUtf8(kStart);

QStringList tolerances(const TForm1& f)
{
    const tpworm::DesignRecord& d = f.Design;
    return {d.GradeTolerance3, d.GradeTolerance4, d.GradeTolerance8, d.GradeTolerance9, d.GradeTolerance10, d.GradeTolerance11};
}

// The six tolerance texts of one fixture row ("7-1-3" ... "7-1-11").
QStringList rowTolerances(const QString& gradeAndRow)
{
    QStringList texts;
    for (int column : {3, 4, 8, 9, 10, 11})
        texts << gradeAndRow + QStringLiteral("-%1").arg(column);
    return texts;
}

} // namespace

class Grade : public CalcFlowTest {};

TEST_F(Grade, RowAndTextsByGradeAndCentreDistance)
{
    struct Case {
        const char* grade;
        bool standard;
        const char* centreDistance;
        const char* backlash;  // Edit8
        const char* gradeText; // Edit9
        const char* row;       // "7-1": the tolerances of that row; "": none written
    };
    const Case cases[] = {
        {"7", true, "160", "0.21", "7j(GB/T16445-1996)", "7-1"},   // equal to column 2: that row
        {"7", true, "160.5", "0.26", "7j(GB/T16445-1996)", "7-2"},
        {"6", true, "80", "0.13", "6j(GB/T16445-1996)", "6-0"},
        {"8", true, "200", "0.32", "8j(GB/T16445-1996)", "8-2"},
        {"8", true, "630", "0.42", "8j(GB/T16445-1996)", "8-3"},   // the last bound itself
        {"7", false, "250", "0", "7级(GB/T16445-1996)", "7-2"},    // backlash not written
        {"8", false, "100.5", "0", "8级(GB/T16445-1996)", "8-1"},
        {"7", true, "40", "0", kStart, ""},  // equal to column 1: outside
        {"7", true, "39", "0", kStart, ""},  // below the first row
        {"7", true, "631", "0", kStart, ""}, // above the last row
        {"8", true, "90", "0", kStart, ""},  // in the gap of 8ji
        {"7", true, "16a", "0", kStart, ""}, // not a number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "grade " << c.grade << (c.standard ? " standard" : "") << ", a = " << c.centreDistance);
        TForm1& f = start();
        // Both set by the program before any centre distance: no look-up yet.
        f.ComboBox1->setCurrentIndex(f.ComboBox1->findText(c.grade));
        f.CheckBox2->setChecked(c.standard);
        ASSERT_EQ(f.Edit9->text(), kStartGradeText);
        f.Edit1->setText(c.centreDistance);
        EXPECT_EQ(f.Edit8->text(), c.backlash);
        EXPECT_EQ(f.Edit9->text(), QString::fromUtf8(c.gradeText));
        EXPECT_EQ(tolerances(f), *c.row ? rowTolerances(c.row) : QStringList(6, QString()));
    }
}

TEST_F(Grade, EveryKeystrokeIsLookedUpAndAMissKeepsTheLastRow)
{
    TForm1& f = start();
    const std::pair<char, const char*> keys[] = {
        {'5', "0"},    // 5: below the first row, nothing written
        {'0', "0.16"}, // 50
        {'0', "0.34"}, // 500
        {'1', "0.34"}, // 5001: above every row, the row for 500 stays
    };
    for (auto [key, backlash] : keys) {
        QTest::keyClicks(f.Edit1, QString(QChar(key)));
        EXPECT_EQ(f.Edit8->text(), backlash) << f.Edit1->text().toStdString();
    }
    EXPECT_EQ(tolerances(f), rowTolerances("7-3"));
    EXPECT_EQ(f.Edit9->text(), "7j(GB/T16445-1996)");
    // Emptying the field looks up nothing.
    f.Edit1->clear();
    EXPECT_EQ(f.Edit8->text(), "0.34");
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(Grade, StandardBacklashBoxRunsTheLookUpOnEveryChange)
{
    TForm1& f = start();
    f.Edit1->setText("160");
    ASSERT_EQ(f.Edit8->text(), "0.21");
    // Cleared by the user: only the grade text changes form.
    QTest::mouseClick(f.CheckBox2, Qt::LeftButton);
    ASSERT_FALSE(f.CheckBox2->isChecked());
    EXPECT_EQ(f.Edit9->text(), "7级(GB/T16445-1996)");
    EXPECT_EQ(f.Edit8->text(), "0.21");
    // A typed backlash, then the box checked by the program: the table's
    // value comes back.
    f.Edit8->setText("0.5");
    f.CheckBox2->setChecked(true);
    EXPECT_EQ(f.Edit9->text(), "7j(GB/T16445-1996)");
    EXPECT_EQ(f.Edit8->text(), "0.21");
    // Setting the state it already has is no change and runs nothing.
    f.Edit8->setText("0.5");
    f.CheckBox2->setChecked(true);
    EXPECT_EQ(f.Edit8->text(), "0.5");
}

TEST_F(Grade, OnlyAUserPickOfTheListRunsTheLookUp)
{
    TForm1& f = start();
    f.Edit1->setText("160");
    ASSERT_EQ(f.Edit9->text(), "7j(GB/T16445-1996)");
    f.ComboBox1->setCurrentIndex(2); // "8", selected by the program
    EXPECT_EQ(f.Edit9->text(), "7j(GB/T16445-1996)");
    EXPECT_EQ(f.Edit8->text(), "0.21");
    EXPECT_EQ(tolerances(f), rowTolerances("7-1"));

    f.ComboBox1->setCurrentIndex(1);
    pickGrade(f.ComboBox1, "8");
    ASSERT_EQ(f.ComboBox1->currentText(), "8");
    EXPECT_EQ(f.Edit9->text(), "8j(GB/T16445-1996)");
    EXPECT_EQ(f.Edit8->text(), "0.26");
    EXPECT_EQ(tolerances(f), rowTolerances("8-1"));
    pickGrade(f.ComboBox1, "6");
    EXPECT_EQ(f.Edit9->text(), "6j(GB/T16445-1996)");
    EXPECT_EQ(f.Edit8->text(), "0.17");
}

TEST_F(Grade, DamagedRulesFailSilently)
{
    struct Case {
        const char* what;
        std::function<void(tpworm::testing::RulesFixture&)> damage;
        const char* gradeText; // after a look-up of 160 with the box cleared, grade 8
        QStringList tolerances;
    };
    const Case cases[] = {
        {"no 8ji table", [](auto& r) { r.drop("8ji"); }, "7级(GB/T16445-1996)", QStringList(6, QString())},
        {"a bound that is no number",
         [](auto& r) { r.table("8ji").rows[0][2] = QStringLiteral("eighty"); },
         "7级(GB/T16445-1996)", QStringList(6, QString())},
        // Columns 0 to 10 only: the grade text and the first five tolerances
        // are written before the missing column ends the look-up.
        {"too few columns",
         [](auto& r) {
             auto& t = r.table("8ji");
             t.columns = t.columns.mid(0, 11);
             for (QVariantList& row : t.rows)
                 row = row.mid(0, 11);
         },
         "8级(GB/T16445-1996)", {"8-1-3", "8-1-4", "8-1-8", "8-1-9", "8-1-10", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rules = tpworm::testing::RulesFixture::standard();
        c.damage(rules);
        TForm1& f = start();
        f.ComboBox1->setCurrentIndex(2);
        f.CheckBox2->setChecked(false);
        f.Edit1->setText("160");
        EXPECT_EQ(f.Edit9->text(), QString::fromUtf8(c.gradeText));
        EXPECT_EQ(f.Edit8->text(), "0");
        EXPECT_EQ(tolerances(f), c.tolerances);
        EXPECT_EQ(messages(), QStringList());
    }
}

TEST_F(Grade, MissingDatabaseFailsSilentlyAndALaterLookUpWorks)
{
    TForm1& f = start();
    const QString db = program->path("db1.mdb");
    ASSERT_TRUE(QFile::rename(db, db + ".away"));
    f.Edit1->setText("160");
    EXPECT_EQ(f.Edit8->text(), "0");
    EXPECT_EQ(f.Edit9->text(), kStartGradeText);
    EXPECT_EQ(messages(), QStringList());
    ASSERT_TRUE(QFile::rename(db + ".away", db));
    f.Edit1->setText("161");
    EXPECT_EQ(f.Edit8->text(), "0.26");
}
