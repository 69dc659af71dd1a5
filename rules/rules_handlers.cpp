// The rule commands of the main window: the coefficient load that starts every
// showing, the settings dialog and the three rule-set commands.
#include "app/tform1.h"
#include "rules/rules_db.h"
#include "rules/rules_messages.h"
#include "rules/rules_notice.h"
#include "rules/tform5.h"

#include <QDir>
#include <QLabel>
#include <QMetaObject>

namespace tpworm {

namespace {

using rules::kMessageCaption;

QString reason(const std::exception& error) { return QString::fromStdString(error.what()); }

// The reload after the rules changed: the coefficient load without an update
// check.
void reloadRules(TForm1& form)
{
    form.Design.UpdateCheckSuppressed = true;
    form.FormShow();
}

// Puts the rule set at source in place of db1.mdb. The set is checked first,
// so that a file the program cannot read never replaces working rules, and the
// program's own connections are closed before the file is swapped.
void installRuleSet(TForm1& form, const QString& source)
{
    rules::CheckRulesDatabase(source);
    for (rules::RulesTable* table : {&form.ADOTable1, &form.ADOTable2, &form.ADOTable3, &form.ADOTable4})
        table->Close();
    form.ADOConnection1.Close();
    if (form.Form5)
        form.Form5->closeDatabase();
    rules::ReplaceFile(source, form.userFile(QStringLiteral("db1.mdb")));
}

} // namespace

void TForm1::LoadRuleCoefficients()
{
    bool differs = false;
    bool failed = false;
    // The rules named on the command line of tpworm-cli are never written.
    ADOConnection1.SetReadOnly(!context().rulesOverride.isEmpty());
    try {
        rules::LoadCoefficients(ADOConnection1, ADOTable1,
                                rules::connectionString(Design.ConnectionPrefix, rulesDatabasePath()),
                                Design.RuleCoefficients, differs);
    } catch (const std::exception&) {
        failed = true;
    }
    // The notice is only ever raised here; restoring the defaults lowers it.
    if (differs)
        Label50->show();
    // Every reload may bring other tables: say again where they come from.
    if (rules::RulesNotice* notice = rules::rulesNotice(*this))
        notice->reload();
    if (failed) {
        showMessage(rules::loadFailureMessage(), kMessageCaption);
        // Without its rules the program cannot work. The rest of the show
        // handler runs first; closing the main window then ends the program.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TForm1::N13Click()
{
    Form5->exec();
}

void TForm1::N15Click()
{
    try {
        installRuleSet(*this, programFile(QStringLiteral("db1.wrx")));
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("还原默认设置失败，当前的计算法则没有改变。\n%1").arg(reason(error)), kMessageCaption);
    }
    Label50->hide();
    reloadRules(*this);
}

void TForm1::N16Click()
{
    const std::optional<QString> chosen = dialogs().chooseFile(this, OpenDialog2);
    if (!chosen)
        return;
    try {
        installRuleSet(*this, *chosen);
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("文件 %1 不能作为用户设置加载，当前的计算法则没有改变。\n%2")
                        .arg(QDir::toNativeSeparators(*chosen), reason(error)),
                    kMessageCaption);
        return;
    }
    reloadRules(*this);
}

void TForm1::N17Click()
{
    const std::optional<QString> chosen = dialogs().chooseFile(this, SaveDialog3);
    if (!chosen)
        return;
    // The extension is always added, also to a name that already has it.
    const QString target = *chosen + QStringLiteral(".wrx");
    try {
        rules::ReplaceFile(rulesDatabasePath(), target);
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("用户设置没有保存到 %1。\n%2").arg(QDir::toNativeSeparators(target), reason(error)),
                    kMessageCaption);
    }
}

} // namespace tpworm
