// Every message box and file dialog of the program goes through this seam, so
// that the window shows Qt's dialogs while tests and tpworm-cli record the
// texts and answer from a script.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace tpworm {

struct MessageBox {
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Warning, Error };
    QString text;
    QString caption; // empty: the application title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

enum class Answer { Ok, Yes, No };

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

// Qt's own modal dialogs.
class QtDialogs final : public DialogSeam {
public:
    Answer message(QWidget* parent, const MessageBox& box) override;
    std::optional<QString> chooseFile(QWidget* parent, const FileDialog& dialog) override;
};

// Records every dialog and answers from prepared queues: questions get the next
// prepared answer (No when none is left), file dialogs the next prepared file
// (cancel when none is left). Used by the tests and by tpworm-cli.
class ScriptedDialogs final : public DialogSeam {
public:
    Answer message(QWidget* parent, const MessageBox& box) override;
    std::optional<QString> chooseFile(QWidget* parent, const FileDialog& dialog) override;

    QList<MessageBox> messages;      // in the order shown
    QList<FileDialog> fileDialogs;   // in the order shown
    QList<Answer> answers;           // consumed by YesNo boxes
    QList<std::optional<QString>> files; // consumed by file dialogs

    // Called for every box as it is shown (tpworm-cli prints them at once).
    std::function<void(const MessageBox&)> onMessage;

    QStringList messageTexts() const;
};

} // namespace tpworm
