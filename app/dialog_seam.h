// Every message box and file dialog of the program goes through this seam, so
// that the window shows Qt's dialogs while tests and tpworm-cli record the
// texts and answer from a script.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace tpworm {

struct MessageBox {
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Icon { None, Information, Warning, Error };
    QString text;
    QString caption; // empty: the application title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

enum class Answer { Ok, Yes, No, Cancel };

// A file dialog as the program configures it. The filter is written
// "description|pattern|description|pattern...", as the program's dialogs have it.
struct FileDialog {
    enum class Kind { Open, Save };
    QString name;     // "OpenDialog1", "SaveDialog2", ...
    Kind kind = Kind::Open;
    QString filter;
    QString fileName; // proposed name on entry
};

class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    virtual Answer message(QWidget* parent, const MessageBox& box) = 0;
    // The chosen file, or nothing when the user cancels.
    virtual std::optional<QString> chooseFile(QWidget* parent, const FileDialog& dialog) = 0;
};

// The folder each kind of file dialog last chose, for the run: a dialog
// proposing a bare name starts in the folder where the user last took or put
// a file of the same kind (the same filter), not in the working directory.
class FolderMemory {
public:
    // The path the dialog starts on: the proposed name inside the remembered
    // folder; a proposal that names its own folder is kept as it is.
    QString startPath(const FileDialog& dialog) const;
    void remember(const FileDialog& dialog, const QString& chosen);

private:
    QMap<QString, QString> folders_; // filter -> folder
};

// Qt's own modal dialogs. While one is up, the pointer is the ordinary arrow
// even when the command that asks shows a busy cursor.
class QtDialogs final : public DialogSeam {
public:
    Answer message(QWidget* parent, const MessageBox& box) override;
    std::optional<QString> chooseFile(QWidget* parent, const FileDialog& dialog) override;

private:
    FolderMemory folders_;
};

// Records every dialog and answers from prepared queues: questions get the next
// prepared answer (No when none is left, also for a Yes / No / Cancel
// question), file dialogs the next prepared file (cancel when none is left). Used by the tests and by tpworm-cli.
class ScriptedDialogs final : public DialogSeam {
public:
    Answer message(QWidget* parent, const MessageBox& box) override;
    std::optional<QString> chooseFile(QWidget* parent, const FileDialog& dialog) override;

    QList<MessageBox> messages;      // in the order shown
    QList<FileDialog> fileDialogs;   // in the order shown
    QList<Answer> answers;           // consumed by YesNo and YesNoCancel boxes
    QList<std::optional<QString>> files; // consumed by file dialogs

    // Called for every box as it is shown (tpworm-cli prints them at once).
    std::function<void(const MessageBox&)> onMessage;

    QStringList messageTexts() const;
};

} // namespace tpworm
