#include "rules/tform5.h"

#include "core/translation.h"

#include "core/numeric.h"
#include "app/tform1.h"
#include "rules/rules_db.h"
#include "rules/rules_messages.h"
#include "rules/tables_page.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QUuid>

#include <cmath>

namespace tpworm {

namespace {

// Titles of the grid for the columns of the shipped table; columns of other
// names keep their own.
QString columnTitle(const QString& name)
{
    static const QList<QPair<QString, QString>> titles = {
        {QStringLiteral("ID"), QStringLiteral("序号")},
        {QStringLiteral("Coefficient"), QStringLiteral("系数")},
        {QStringLiteral("N"), QStringLiteral("N值")},
        {QStringLiteral("N_default"), QStringLiteral("默认值")},
        {QStringLiteral("JSGS"), QStringLiteral("计算法则")},
    };
    for (const auto& [column, title] : titles)
        if (column == name)
            return title;
    return name;
}

QString numberText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double)
        return FloatToStr(value.toDouble());
    return value.toString();
}

} // namespace

QString RulesTableModel::orderByClause() const
{
    return QStringLiteral("ORDER BY rowid");
}

TForm5::TForm5(TForm1& mainWindow, QWidget* parent)
    : QDialog(parent), main_(mainWindow), connectionName_(QStringLiteral("tpworm-form5-") + QUuid::createUuid().toString())
{
    setObjectName("Form5");
    setWindowTitle("计算设置");
    createLayout();
    createGrid();
    connectHandlers();
}

TForm5::~TForm5()
{
    DBGrid1->setModel(nullptr);
    delete ADOTable1;
    ADOTable1 = nullptr;
    if (QSqlDatabase::contains(connectionName_)) {
        QSqlDatabase::database(connectionName_, false).close();
        QSqlDatabase::removeDatabase(connectionName_);
    }
}

void TForm5::createLayout()
{
    setFixedSize(760, 620);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(4, 4, 752, 572);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("系数"));
    TabSheet2 = new TablesPage(main_);
    PageControl1->addTab(TabSheet2, QStringLiteral("表格"));

    GroupBox1 = new QGroupBox(QStringLiteral("  参数设置  "), TabSheet1);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 8, 644, 500);

    Label1 = new QLabel(QStringLiteral("N值："), GroupBox1);
    Label1->setObjectName("Label1");
    Label1->setGeometry(16, 28, 44, 21);
    DBEdit1 = new QLineEdit(GroupBox1);
    DBEdit1->setObjectName("DBEdit1");
    DBEdit1->setGeometry(60, 28, 121, 21);
    DBText1 = new QLabel(GroupBox1);
    DBText1->setObjectName("DBText1");
    DBText1->setGeometry(16, 56, 612, 36);
    DBText1->setWordWrap(true);
    DBText1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button1 = new QPushButton(QStringLiteral("保  存"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(520, 584, 100, 28);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("关  闭"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(644, 584, 100, 28);
    Button2->setAutoDefault(false);
}

void TForm5::createGrid()
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    ADOTable1 = new RulesTableModel(this, QSqlDatabase::database(connectionName_, false));
    ADOTable1->setEditStrategy(QSqlTableModel::OnManualSubmit);

    DBGrid1 = new QTableView(GroupBox1);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setGeometry(16, 100, 612, 388);
    DBGrid1->setModel(ADOTable1);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->verticalHeader()->setVisible(true); // the row indicator
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
}

void TForm5::connectHandlers()
{
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    // "保  存" saves the coefficients; the tables page has its own button.
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int index) { Button1->setVisible(index == PageControl1->indexOf(TabSheet1)); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { currentRowChanged(current.isValid() ? current.row() : -1); });
    connect(DBEdit1, &QLineEdit::editingFinished, this, [this] {
        if (!finishEdit()) {
            message(QStringLiteral("N值必须是数字，“%1”没有被采用").arg(DBEdit1->text()));
            DBEdit1->setText(shownText_);
        }
    });
}

void TForm5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormShow();
}

void TForm5::FormShow()
{
    closeDatabase();
    try {
        openTable();
    } catch (const std::exception&) {
        closeDatabase();
        message(rules::kDialogOpenFailed);
        // Closing from inside the showing would race it: close right after.
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TabSheet2->load();
}

void TForm5::openTable()
{
    const QString path =
        rules::dataSource(rules::connectionString(main_.Design.ConnectionPrefix, main_.rulesDatabasePath()));
    // SQLite would create a missing file.
    if (!QFileInfo(path).isFile())
        throw rules::RulesError(QStringLiteral("计算法则数据库 %1 不存在").arg(path));
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    db.setDatabaseName(path);
    // Rules named on the command line are never written.
    db.setConnectOptions(main_.context().rulesOverride.isEmpty() ? QString()
                                                                 : QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw rules::RulesError(db.lastError().text());
    ADOTable1->setTable(QStringLiteral("nzhi"));
    if (!ADOTable1->select())
        throw rules::RulesError(ADOTable1->lastError().text());
    while (ADOTable1->canFetchMore())
        ADOTable1->fetchMore();
    nColumn_ = ADOTable1->record().indexOf(QStringLiteral("N"));
    ruleColumn_ = ADOTable1->record().indexOf(QStringLiteral("JSGS"));
    if (nColumn_ < 0 || ruleColumn_ < 0 || ADOTable1->rowCount() == 0)
        throw rules::RulesError(QStringLiteral("数据表 nzhi 不完整"));
    setColumnTitles();
    DBGrid1->selectRow(0);
    showRow(0);
}

void TForm5::setColumnTitles()
{
    const QSqlRecord record = ADOTable1->record();
    for (int column = 0; column < record.count(); ++column)
        ADOTable1->setHeaderData(column, Qt::Horizontal, uiText(columnTitle(record.fieldName(column))));
    // Narrow number columns leave the width to the rule text.
    for (int column = 0; column < record.count(); ++column)
        if (column != ruleColumn_)
            DBGrid1->setColumnWidth(column, column == 0 ? 44 : 64);
}

void TForm5::showRow(int row)
{
    row_ = row;
    if (row < 0 || row >= ADOTable1->rowCount() || nColumn_ < 0) {
        row_ = -1;
        shownText_.clear();
        DBEdit1->clear();
        DBText1->clear();
        return;
    }
    shownText_ = numberText(ADOTable1->data(ADOTable1->index(row, nColumn_)));
    DBEdit1->setText(shownText_);
    DBText1->setText(ADOTable1->data(ADOTable1->index(row, ruleColumn_)).toString());
}

bool TForm5::finishEdit()
{
    if (row_ < 0 || DBEdit1->text() == shownText_)
        return true;
    double value = 0;
    try {
        value = double(StrToFloat(DBEdit1->text()));
    } catch (const ConvertError&) {
        return false;
    }
    if (!std::isfinite(value))
        return false;
    if (!ADOTable1->setData(ADOTable1->index(row_, nColumn_), value))
        return false;
    shownText_ = DBEdit1->text();
    return true;
}

void TForm5::currentRowChanged(int row)
{
    if (row == row_)
        return;
    if (!finishEdit())
        message(QStringLiteral("N值必须是数字，“%1”没有被采用").arg(DBEdit1->text()));
    showRow(row);
}

void TForm5::Button1Click()
{
    const int row = row_;
    bool saved = false;
    if (finishEdit() && ADOTable1->database().isOpen()) {
        // Rows submitAll wrote before a failure stay marked as written in the
        // model although the rollback undid them: keep the edits, re-read the
        // table and put them back, so that the next save writes them all.
        QList<QPair<int, QVariant>> edits;
        for (int r = 0; r < ADOTable1->rowCount(); ++r)
            if (ADOTable1->isDirty(ADOTable1->index(r, nColumn_)))
                edits.append({r, ADOTable1->data(ADOTable1->index(r, nColumn_))});
        QSqlDatabase db = ADOTable1->database();
        if (db.transaction()) {
            saved = ADOTable1->submitAll() && db.commit();
            if (!saved) {
                db.rollback();
                if (ADOTable1->select()) {
                    for (const auto& [r, value] : edits)
                        ADOTable1->setData(ADOTable1->index(r, nColumn_), value);
                }
                DBGrid1->selectRow(row);
                showRow(row);
            }
        }
    }
    message(saved ? rules::kSaveSucceeded : rules::kSaveFailed);
    if (saved) {
        // Writing re-reads the table; stay on the row the user was on.
        DBGrid1->selectRow(row);
        showRow(row);
    }
    main_.Design.UpdateCheckSuppressed = true;
    main_.FormShow();
}

void TForm5::Button2Click() { close(); }

void TForm5::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm5::FormClose()
{
    // Clearing the model drops its copy of the table, unsaved edits included.
    closeDatabase();
    TabSheet2->discard();
}

void TForm5::closeDatabase()
{
    if (!ADOTable1)
        return;
    ADOTable1->clear();
    showRow(-1);
    QSqlDatabase::database(connectionName_, false).close();
}

bool TForm5::hasUnsavedEdits() const
{
    return ADOTable1 && (ADOTable1->isDirty() || (row_ >= 0 && DBEdit1->text() != shownText_));
}

void TForm5::message(const QString& text) { main_.showMessage(text, rules::kMessageCaption); }

} // namespace tpworm
