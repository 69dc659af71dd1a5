#include "rules/tables_page.h"

#include "app/tform1.h"
#include "core/numeric.h"
#include "core/safe_file.h"
#include "rules/rules_db.h"
#include "rules/rules_messages.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace tpworm {

namespace {

QString unitText(const QString& keyUnit) { return keyUnit == QLatin1String("teeth") ? QStringLiteral("齿") : keyUnit; }

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, int left, int top, int width)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, width, 26);
    button->setAutoDefault(false);
    return button;
}

// A coverage bound typed by the user: nothing when empty.
bool readBound(const QLineEdit* edit, std::optional<long double>& value)
{
    const QString text = edit->text().trimmed();
    value.reset();
    if (text.isEmpty())
        return true;
    try {
        value = StrToFloat(text);
    } catch (const ConvertError&) {
        return false;
    }
    return true;
}

QString boundText(const std::optional<long double>& value) { return value ? FloatToStr(*value) : QString(); }

} // namespace

TablesPage::TablesPage(TForm1& mainWindow, QWidget* parent) : QWidget(parent), main_(mainWindow)
{
    setObjectName(QStringLiteral("TablesPage"));
    OpenDialogCsv = {QStringLiteral("OpenDialogCsv"), FileDialog::Kind::Open, QStringLiteral("CSV 文件 (*.csv)|*.csv"), QString()};
    SaveDialogCsv = {QStringLiteral("SaveDialogCsv"), FileDialog::Kind::Save, QStringLiteral("CSV 文件 (*.csv)|*.csv"), QString()};
    createLayout();
    createButtons();
    connectHandlers();
}

void TablesPage::createLayout()
{
    TableLabel = new QLabel(QStringLiteral("数据表："), this);
    TableLabel->setGeometry(8, 12, 60, 21);
    TableBox = new QComboBox(this);
    TableBox->setObjectName(QStringLiteral("TableBox"));
    TableBox->setGeometry(68, 10, 280, 24);
    StateLabel = new QLabel(this);
    StateLabel->setObjectName(QStringLiteral("StateLabel"));
    StateLabel->setGeometry(356, 10, 380, 24);
    StateLabel->setTextFormat(Qt::PlainText);

    Grid = new QTableWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setGeometry(8, 40, 728, 290);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid->horizontalHeader()->setDefaultSectionSize(96);
    Grid->verticalHeader()->setDefaultSectionSize(22);
    // Headings name the quantity and its unit: let them wrap.
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    Grid->horizontalHeader()->setMinimumHeight(48);

    SourceLabel = new QLabel(QStringLiteral("来源："), this);
    SourceLabel->setGeometry(8, 372, 60, 21);
    SourceEdit = new QPlainTextEdit(this);
    SourceEdit->setObjectName(QStringLiteral("SourceEdit"));
    SourceEdit->setGeometry(68, 370, 668, 48);

    CoverageLabel = new QLabel(QStringLiteral("来源覆盖的范围：大于"), this);
    CoverageLabel->setGeometry(8, 428, 150, 21);
    CoversAboveEdit = new QLineEdit(this);
    CoversAboveEdit->setObjectName(QStringLiteral("CoversAboveEdit"));
    CoversAboveEdit->setGeometry(160, 426, 80, 22);
    CoversAboveEdit->setPlaceholderText(QStringLiteral("不限"));
    auto* upto = new QLabel(QStringLiteral("至"), this);
    upto->setGeometry(246, 428, 20, 21);
    CoversUptoEdit = new QLineEdit(this);
    CoversUptoEdit->setObjectName(QStringLiteral("CoversUptoEdit"));
    CoversUptoEdit->setGeometry(268, 426, 80, 22);
    CoversUptoEdit->setPlaceholderText(QStringLiteral("不限"));
    CoverageUnitLabel = new QLabel(this);
    CoverageUnitLabel->setGeometry(354, 428, 380, 21);

    ProblemList = new QListWidget(this);
    ProblemList->setObjectName(QStringLiteral("ProblemList"));
    ProblemList->setGeometry(8, 456, 728, 72);
}

void TablesPage::createButtons()
{
    AddRowButton = makeButton(this, "AddRowButton", "增加行", 8, 338, 80);
    DeleteRowButton = makeButton(this, "DeleteRowButton", "删除行", 96, 338, 80);
    ImportButton = makeButton(this, "ImportButton", "导入 CSV…", 200, 338, 100);
    ExportButton = makeButton(this, "ExportButton", "导出 CSV…", 308, 338, 100);
    SaveButton = makeButton(this, "SaveButton", "保存表格", 636, 338, 100);
}

void TablesPage::connectHandlers()
{
    connect(TableBox, &QComboBox::activated, this, &TablesPage::tableChosen);
    connect(Grid, &QTableWidget::itemChanged, this, [this] {
        if (!filling_)
            dirty_ = true;
    });
    connect(SourceEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            dirty_ = true;
    });
    for (QLineEdit* edit : {CoversAboveEdit, CoversUptoEdit})
        connect(edit, &QLineEdit::textEdited, this, [this] { dirty_ = true; });
    connect(AddRowButton, &QPushButton::clicked, this, &TablesPage::addRow);
    connect(DeleteRowButton, &QPushButton::clicked, this, &TablesPage::deleteRow);
    connect(ImportButton, &QPushButton::clicked, this, &TablesPage::importCsv);
    connect(ExportButton, &QPushButton::clicked, this, &TablesPage::exportCsv);
    connect(SaveButton, &QPushButton::clicked, this, &TablesPage::saveTable);
    connect(ProblemList, &QListWidget::currentRowChanged, this, &TablesPage::problemChosen);
}

bool TablesPage::readOnly() const { return !main_.context().rulesOverride.isEmpty(); }

void TablesPage::message(const QString& text) { main_.showMessage(text, rules::kMessageCaption); }

void TablesPage::load()
{
    const QString shown = layout_.name;
    dirty_ = false;
    layout_ = {};
    TableBox->clear();
    QList<rules::TableSource> sources;
    try {
        sources = rules::readSources(main_.rulesDatabasePath());
    } catch (const std::exception& error) {
        showInformation(QStringLiteral("计算法则数据库无法读取：%1").arg(QString::fromStdString(error.what())));
        return;
    }
    for (const rules::TableSource& s : sources)
        TableBox->addItem(QStringLiteral("%1 — %2").arg(s.table, s.title), s.table);
    for (QPushButton* b : {SaveButton, ImportButton})
        b->setEnabled(!readOnly());
    const int index = std::max(0, TableBox->findData(shown));
    if (TableBox->count() > 0) {
        TableBox->setCurrentIndex(index);
        showTable(TableBox->itemData(index).toString());
    }
}

void TablesPage::discard()
{
    dirty_ = false;
    problems_.clear();
    ProblemList->clear();
}

void TablesPage::tableChosen(int index)
{
    const QString table = TableBox->itemData(index).toString();
    if (!showTable(table))
        TableBox->setCurrentIndex(TableBox->findData(layout_.name));
}

bool TablesPage::showTable(const QString& table)
{
    if (dirty_ && table != layout_.name) {
        MessageBox box;
        box.text = QStringLiteral("数据表 %1 的修改尚未保存，是否放弃这些修改？").arg(layout_.name);
        box.caption = rules::kMessageCaption;
        box.buttons = MessageBox::Buttons::YesNo;
        box.icon = MessageBox::Icon::Warning;
        if (main_.dialogs().message(this, box) != Answer::Yes)
            return false;
    }
    const QString path = main_.rulesDatabasePath();
    try {
        layout_ = rules::readTableLayout(path, table);
        fillGrid(rules::readTable(path, layout_));
        source_ = rules::findSource(rules::readSources(path), table).value_or(rules::TableSource{});
    } catch (const std::exception& error) {
        showInformation(QStringLiteral("数据表 %1 无法读取：%2").arg(table, QString::fromStdString(error.what())));
        return false;
    }
    TableBox->setCurrentIndex(TableBox->findData(table));
    showSource();
    dirty_ = false;
    problems_.clear();
    ProblemList->clear();
    return true;
}

void TablesPage::fillGrid(const rules::TableTexts& data)
{
    filling_ = true;
    Grid->clear();
    Grid->setColumnCount(int(layout_.columns.size()));
    Grid->setRowCount(int(data.rows.size()));
    QStringList headings;
    for (const rules::ColumnLayout& column : layout_.columns)
        headings << column.heading;
    Grid->setHorizontalHeaderLabels(headings);
    for (int c = 0; c < layout_.columns.size(); ++c)
        Grid->horizontalHeaderItem(c)->setToolTip(QStringLiteral("数据库中的列名：%1").arg(layout_.columns[c].name));
    for (int r = 0; r < data.rows.size(); ++r)
        for (int c = 0; c < data.rows[r].size() && c < layout_.columns.size(); ++c)
            Grid->setItem(r, c, new QTableWidgetItem(data.rows[r][c]));
    filling_ = false;
}

void TablesPage::showSource()
{
    filling_ = true;
    SourceEdit->setPlainText(source_.recorded ? source_.source : QString());
    filling_ = false;
    CoversAboveEdit->setText(boundText(source_.coversAbove));
    CoversUptoEdit->setText(boundText(source_.coversUpto));
    const bool ranges = layout_.isRangeTable();
    for (QWidget* w : {static_cast<QWidget*>(CoversAboveEdit), static_cast<QWidget*>(CoversUptoEdit)})
        w->setEnabled(ranges);
    CoverageUnitLabel->setText(ranges ? QStringLiteral("%1（留空：不限；超出时主窗口提示）").arg(unitText(layout_.keyUnit))
                                      : QStringLiteral("（此表不按范围查找）"));
    QString state;
    if (!source_.recorded)
        state = QStringLiteral("来源未记录");
    else
        state = QStringLiteral("修改于 %1%2").arg(source_.changed,
                                                 source_.referenceValues ? QStringLiteral("；仍为随程序提供的参考值") : QString());
    StateLabel->setText(state);
}

rules::TableTexts TablesPage::gridData() const
{
    rules::TableTexts data;
    for (int r = 0; r < Grid->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < Grid->columnCount(); ++c) {
            const QTableWidgetItem* item = Grid->item(r, c);
            row << (item ? item->text().trimmed() : QString());
        }
        data.rows << row;
    }
    return data;
}

void TablesPage::addRow()
{
    const int row = Grid->currentRow() < 0 ? Grid->rowCount() : Grid->currentRow() + 1;
    Grid->insertRow(row);
    // A new range starts where the one before it ends.
    if (layout_.isRangeTable() && row > 0 && Grid->item(row - 1, 1))
        Grid->setItem(row, 0, new QTableWidgetItem(Grid->item(row - 1, 1)->text()));
    Grid->setCurrentCell(row, layout_.isRangeTable() ? 1 : 0);
    dirty_ = true;
}

void TablesPage::deleteRow()
{
    const int row = Grid->currentRow();
    if (row < 0)
        return;
    Grid->removeRow(row);
    dirty_ = true;
}

void TablesPage::importCsv()
{
    if (layout_.name.isEmpty())
        return;
    const std::optional<QString> file = main_.dialogs().chooseFile(this, OpenDialogCsv);
    if (!file)
        return;
    QList<rules::Problem> problems;
    const rules::TableTexts data = rules::readCsvFile(*file, layout_, problems);
    if (!problems.isEmpty()) {
        showProblems(problems, false);
        message(QStringLiteral("文件 %1 有 %2 处问题，没有读入；问题列在表格页下方，行号从标题行的下一行数起。")
                    .arg(QDir::toNativeSeparators(*file))
                    .arg(problems.size()));
        return;
    }
    fillGrid(data);
    filling_ = true;
    SourceEdit->setPlainText(QStringLiteral("用户导入：%1").arg(QFileInfo(*file).fileName()));
    filling_ = false;
    CoversAboveEdit->clear();
    CoversUptoEdit->clear();
    dirty_ = true;
    showInformation(QStringLiteral("已从 %1 读入 %2 行；请写明来源，按“保存表格”后写入数据库。")
                        .arg(QDir::toNativeSeparators(*file))
                        .arg(data.rows.size()));
}

void TablesPage::exportCsv()
{
    if (layout_.name.isEmpty())
        return;
    SaveDialogCsv.fileName = layout_.name + QStringLiteral(".csv");
    const std::optional<QString> file = main_.dialogs().chooseFile(this, SaveDialogCsv);
    if (!file)
        return;
    const WriteOutcome written = writeFileAtomically(*file, rules::tableToCsv(layout_, gridData()));
    if (!written.ok()) {
        message(QStringLiteral("表格没有导出到 %1。\n%2").arg(QDir::toNativeSeparators(*file), written.error));
        return;
    }
    showInformation(QStringLiteral("数据表 %1 已导出到 %2").arg(layout_.name, QDir::toNativeSeparators(*file)));
}

bool TablesPage::saveTable()
{
    if (layout_.name.isEmpty() || readOnly())
        return false;
    const rules::TableTexts data = gridData();
    QList<rules::Problem> problems = rules::validateTable(layout_, data);
    rules::SourceUpdate update;
    update.source = SourceEdit->toPlainText().trimmed();
    if (update.source.isEmpty())
        problems.append({0, QString(), QStringLiteral("请写明这些数值的来源（标准、手册或本厂标准）")});
    if (!readBound(CoversAboveEdit, update.coversAbove) || !readBound(CoversUptoEdit, update.coversUpto))
        problems.append({0, QString(), QStringLiteral("来源覆盖的范围须为数字或留空")});
    if (!problems.isEmpty()) {
        showProblems(problems, true);
        message(QStringLiteral("数据表 %1 有 %2 处问题，没有保存；问题列在表格页下方，改正后再保存。")
                    .arg(layout_.name)
                    .arg(problems.size()));
        return false;
    }
    // The shipped values stay labelled as such until the user names a source
    // of their own.
    update.referenceValues = source_.recorded && source_.referenceValues && update.source == source_.source;
    try {
        rules::writeTable(main_.rulesDatabasePath(), layout_, data, update);
    } catch (const std::exception& error) {
        showInformation(QString::fromStdString(error.what()));
        message(rules::kSaveFailed);
        return false;
    }
    const QString table = layout_.name;
    dirty_ = false;
    showTable(table);
    message(rules::kSaveSucceeded);
    // The rules follow the database at once, as after saving the coefficients,
    // and the grade texts are looked up again in the new table.
    main_.Design.UpdateCheckSuppressed = true;
    main_.FormShow();
    main_.ComboBox1Change();
    return true;
}

void TablesPage::showProblems(const QList<rules::Problem>& problems, bool inGrid)
{
    // The rows of a refused file are not the grid's: choosing one goes nowhere.
    problems_ = inGrid ? problems : QList<rules::Problem>();
    ProblemList->clear();
    for (const rules::Problem& problem : problems)
        ProblemList->addItem(problem.text());
    if (inGrid && !problems.isEmpty())
        ProblemList->setCurrentRow(0);
}

void TablesPage::showInformation(const QString& text)
{
    problems_.clear();
    ProblemList->clear();
    ProblemList->addItem(text);
}

void TablesPage::problemChosen(int index)
{
    if (index < 0 || index >= problems_.size())
        return;
    const rules::Problem& problem = problems_[index];
    const int column = layout_.indexOf(problem.column);
    if (problem.row > 0 && problem.row <= Grid->rowCount())
        Grid->setCurrentCell(problem.row - 1, std::max(0, column));
}

} // namespace tpworm
