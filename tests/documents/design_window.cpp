#include "design_window.h"

#include "documents/cell_maps.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace tpworm::testing {

void calculateDesign(TForm1& f, const DesignInput& input)
{
    f.ComboBox1->setCurrentIndex(input.grade - 6);
    f.ComboBox1Change(); // as when the user picks the item
    f.CheckBox2->setChecked(input.standardBacklash);
    f.Edit1->setText(input.centreDistance);
    f.Edit3->setText(input.teeth);
    f.Edit4->setText(input.starts);
    f.SpeedButton2->click();
}

void editRecommended(TForm1& f, const QList<QPair<QLineEdit*, QString>>& edits)
{
    f.SpeedButton3->click();
    for (const auto& [edit, text] : edits)
        edit->setText(text);
    f.SpeedButton4->click();
}

WindowState windowState(const TForm1& f)
{
    WindowState s;
    const QList<QLineEdit*> edits{f.Edit1, f.Edit2, f.Edit3, f.Edit4, f.Edit5, f.Edit6, f.Edit7,
                                  f.Edit8, f.Edit9, f.Edit10, f.Edit11, f.Edit12, f.Edit13};
    for (const QLineEdit* e : edits) {
        s.insert(e->objectName(), e->text());
        s.insert(e->objectName() + ".enabled", e->isEnabled() ? "yes" : "no");
    }
    s.insert("ComboBox1", QString::number(f.ComboBox1->currentIndex()));
    s.insert("CheckBox1", f.CheckBox1->isChecked() ? "checked" : "unchecked");
    s.insert("CheckBox2", f.CheckBox2->isChecked() ? "checked" : "unchecked");
    for (const QGroupBox* g : {f.GroupBox6, f.GroupBox1, f.GroupBox3, f.GroupBox2, f.GroupBox4}) {
        s.insert(g->objectName() + ".visible", g->isVisible() ? "yes" : "no");
        for (const QLabel* label : g->findChildren<QLabel*>())
            s.insert(label->objectName(), label->text() + (TForm1::isWarning(label) ? " (red)" : ""));
    }
    s.insert("Label46", f.Label46->text());
    s.insert("Label47", f.Label47->text());
    for (const QToolButton* b : {f.SpeedButton2, f.SpeedButton3, f.ToolButton11, f.ToolButton5, f.ToolButton1, f.ToolButton4})
        s.insert(b->objectName() + ".enabled", b->isEnabled() ? "yes" : "no");
    s.insert("GradeTolerance3", f.Design.GradeTolerance3);
    s.insert("GradeTolerance4", f.Design.GradeTolerance4);
    s.insert("GradeTolerance8", f.Design.GradeTolerance8);
    s.insert("GradeTolerance9", f.Design.GradeTolerance9);
    s.insert("GradeTolerance10", f.Design.GradeTolerance10);
    s.insert("GradeTolerance11", f.Design.GradeTolerance11);
    return s;
}

QStringList differences(const WindowState& expected, const WindowState& actual)
{
    QStringList lines;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (actual.value(it.key()) != it.value())
            lines << QStringLiteral("%1: %2 | %3").arg(it.key(), it.value(), actual.value(it.key()));
    return lines;
}

bool resultsShown(const TForm1& f)
{
    return f.GroupBox1->isVisible() && f.GroupBox2->isVisible() && f.GroupBox3->isVisible()
        && f.GroupBox4->isVisible() && f.GroupBox6->isVisible();
}

void writeWorkbook(const QString& source, const QString& target, const QMap<QString, QString>& cells)
{
    workbook::Workbook book;
    book.SetFileName(source);
    book.Load();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const documents::CellText c = documents::parseCellName(it.key());
        book.SetCellText(c.column, c.row, it.value());
    }
    book.SetFileName(target);
    book.Save();
}

QString engineCellText(const QString& path, const QString& cell)
{
    workbook::Workbook book;
    book.SetFileName(path);
    book.Load();
    const documents::CellText c = documents::parseCellName(cell);
    return book.GetCellText(c.column, c.row);
}

} // namespace tpworm::testing
