#include "dialog_seam.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "core/translation.h"

namespace tpworm {

namespace {

// "*.wpx|*.wpx" becomes "*.wpx (*.wpx)"; a filter without a bar (".xls") is
// its own description and pattern.
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i];
        QString pattern = i + 1 < parts.size() ? parts[i + 1] : parts[i];
        if (pattern.startsWith(QLatin1Char('.')))
            pattern.prepend(QLatin1Char('*'));
        entries << QStringLiteral("%1 (%2)").arg(description, pattern.replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

// Shows the arrow over a dialog while a command has put up a busy cursor, and
// gives the command its cursor back afterwards.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() : active_(QApplication::overrideCursor() != nullptr)
    {
        if (active_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (active_)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool active_;
};

} // namespace

QString FolderMemory::startPath(const FileDialog& dialog) const
{
    const QString folder = folders_.value(dialog.filter);
    if (folder.isEmpty())
        return dialog.fileName;
    // "200-40" or "wogan.xls" are bare names; a path with a folder is the
    // program's own choice and stays.
    if (dialog.fileName.contains(QLatin1Char('/')) || dialog.fileName.contains(QLatin1Char('\\')))
        return dialog.fileName;
    return dialog.fileName.isEmpty() ? folder : QDir(folder).filePath(dialog.fileName);
}

void FolderMemory::remember(const FileDialog& dialog, const QString& chosen)
{
    const QString folder = QFileInfo(chosen).absolutePath();
    if (!folder.isEmpty())
        folders_.insert(dialog.filter, folder);
}

Answer QtDialogs::message(QWidget* parent, const MessageBox& box)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
    case MessageBox::Icon::None: icon = QMessageBox::NoIcon; break;
    case MessageBox::Icon::Information: icon = QMessageBox::Information; break;
    case MessageBox::Icon::Warning: icon = QMessageBox::Warning; break;
    case MessageBox::Icon::Error: icon = QMessageBox::Critical; break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (box.buttons == MessageBox::Buttons::YesNo)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (box.buttons == MessageBox::Buttons::YesNoCancel)
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    // A fixed message finds its translation here; a composed one was
    // translated where it was composed.
    const QString caption = box.caption.isEmpty() && parent ? parent->window()->windowTitle() : uiText(box.caption);
    QMessageBox dialog(icon, caption, uiText(box.text), buttons, parent);
    // Plain text only: messages never carry markup.
    dialog.setTextFormat(Qt::PlainText);
    if (box.buttons == MessageBox::Buttons::YesNoCancel) {
        // Escape and the close box of the question keep everything as it was.
        dialog.setDefaultButton(QMessageBox::Yes);
        dialog.setEscapeButton(QMessageBox::Cancel);
    }
    ArrowWhileAsking arrow;
    const int result = dialog.exec();
    switch (box.buttons) {
    case MessageBox::Buttons::Ok:
        return Answer::Ok;
    case MessageBox::Buttons::YesNo:
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    case MessageBox::Buttons::YesNoCancel:
        return result == QMessageBox::Yes ? Answer::Yes : result == QMessageBox::No ? Answer::No : Answer::Cancel;
    }
    return Answer::Ok;
}

std::optional<QString> QtDialogs::chooseFile(QWidget* parent, const FileDialog& dialog)
{
    const QString filter = qtFilter(dialog.filter);
    const QString start = folders_.startPath(dialog);
    ArrowWhileAsking arrow;
    QString chosen;
    if (dialog.kind == FileDialog::Kind::Open) {
        chosen = QFileDialog::getOpenFileName(parent, QString(), start, filter);
    } else {
        // No overwrite question: the program's save dialogs replace silently.
        chosen = QFileDialog::getSaveFileName(parent, QString(), start, filter, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
    }
    if (chosen.isEmpty())
        return std::nullopt;
    folders_.remember(dialog, chosen);
    return chosen;
}

Answer ScriptedDialogs::message(QWidget*, const MessageBox& box)
{
    messages.append(box);
    if (onMessage)
        onMessage(box);
    if (box.buttons == MessageBox::Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

std::optional<QString> ScriptedDialogs::chooseFile(QWidget*, const FileDialog& dialog)
{
    fileDialogs.append(dialog);
    if (files.isEmpty())
        return std::nullopt;
    return files.takeFirst();
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const MessageBox& box : messages)
        texts << box.text;
    return texts;
}

} // namespace tpworm
