#include "app/model_commands.h"

#include "app/tform1.h"
#include "model/occt/model_files.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace tpworm {

namespace {

const QString kModelFailed = QStringLiteral("三维模型写入失败，原有文件未改动：%1");
const QString kModelWritten = QStringLiteral("三维模型已写入。以下尺寸不是设计计算值，是本程序为显示完整零件所取的参考值：%1");
const QString kStubLength = QStringLiteral("轴头长 %1 mm");
const QString kRimBore = QStringLiteral("轮缘内径 %1 mm");
const QString kShoulderDiameter = QStringLiteral("凸肩直径 %1 mm");

struct PartEntry {
    model::SolidPart part;
    const char* name;    // object-name part
    const char* caption; // menu caption
    const char* file;    // the offered file name's stem
};

const PartEntry kParts[] = {
    {model::SolidPart::Worm, "Worm", "蜗杆 STEP...", "蜗杆"},
    {model::SolidPart::Wheel, "Wheel", "蜗轮 STEP...", "蜗轮"},
    {model::SolidPart::Pair, "Pair", "蜗杆副 STEP...", "蜗杆副"},
};

class ModelCommands : public QObject {
public:
    explicit ModelCommands(TForm1& form) : QObject(&form), form_(form)
    {
        setObjectName(QStringLiteral("ModelCommands"));
        auto* menu = new QMenu(QStringLiteral("三维模型"), form_.menuBar());
        menu->setObjectName(QStringLiteral("ModelMenu"));
        // After "图纸", before "设置".
        form_.menuBar()->insertMenu(form_.N7->menuAction(), menu);
        for (const PartEntry& entry : kParts) {
            QAction* a = menu->addAction(QString::fromUtf8(entry.caption));
            a->setObjectName(QStringLiteral("Model%1").arg(QLatin1String(entry.name)));
            connect(a, &QAction::triggered, this, [this, &entry] { exportModel(entry); });
            actions_ << a;
        }
        form_.ToolButton5->installEventFilter(this);
        followCalculation();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == form_.ToolButton5 && event->type() == QEvent::EnabledChange)
            followCalculation();
        return QObject::eventFilter(watched, event);
    }

private:
    void followCalculation()
    {
        for (QAction* a : actions_)
            a->setEnabled(form_.ToolButton5->isEnabled());
    }

    void exportModel(const PartEntry& entry)
    {
        if (!model::solidModelsAvailable()) {
            form_.showMessage(model::solidModelsUnavailableText());
            return;
        }
        FileDialog dialog{QStringLiteral("ModelDialog"), FileDialog::Kind::Save, QStringLiteral("STEP 文件 (*.step)|*.step"),
                          QStringLiteral("TP%1-%2-%3.step")
                              .arg(form_.Edit1->text(), form_.Edit2->text(), QString::fromUtf8(entry.file))};
        const std::optional<QString> chosen = form_.dialogs().chooseFile(&form_, dialog);
        if (!chosen)
            return;
        QString path = *chosen;
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix != QLatin1String("step") && suffix != QLatin1String("stp"))
            path += QStringLiteral(".step");
        // A model takes seconds to make.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        model::SolidReferenceValues reference;
        const WriteOutcome written = model::writeSolidModel(entry.part, form_.Design, path, &reference);
        QApplication::restoreOverrideCursor();
        if (!written.ok()) {
            form_.showMessage(kModelFailed.arg(written.error));
            return;
        }
        QStringList values;
        if (reference.stubLength > 0)
            values << kStubLength.arg(reference.stubLength, 0, 'f', 0);
        if (reference.shoulderDiameter > 0)
            values << kShoulderDiameter.arg(reference.shoulderDiameter, 0, 'f', 3);
        if (reference.rimBore > 0)
            values << kRimBore.arg(reference.rimBore, 0, 'f', 3);
        if (!values.isEmpty())
            form_.showMessage(kModelWritten.arg(values.join(QStringLiteral("；"))));
    }

    TForm1& form_;
    QList<QAction*> actions_;
};

} // namespace

QObject* createModelCommands(TForm1& form) { return new ModelCommands(form); }

} // namespace tpworm
