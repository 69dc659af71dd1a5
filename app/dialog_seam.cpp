#include "dialog_seam.h"

#include <QFileDialog>
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

} // namespace

Answer QtDialogs::message(QWidget* parent, const MessageBox& box)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
    case MessageBox::Icon::None: icon = QMessageBox::NoIcon; break;
    case MessageBox::Icon::Information: icon = QMessageBox::Information; break;
    case MessageBox::Icon::Warning: icon = QMessageBox::Warning; break;
    case MessageBox::Icon::Error: icon = QMessageBox::Critical; break;
    }
    const QMessageBox::StandardButtons buttons = box.buttons == MessageBox::Buttons::YesNo
        ? QMessageBox::Yes | QMessageBox::No
        : QMessageBox::StandardButtons(QMessageBox::Ok);
    // A fixed message finds its translation here; a composed one was
    // translated where it was composed.
    const QString caption = box.caption.isEmpty() && parent ? parent->window()->windowTitle() : uiText(box.caption);
    QMessageBox dialog(icon, caption, uiText(box.text), buttons, parent);
    // Plain text only: messages never carry markup.
    dialog.setTextFormat(Qt::PlainText);
    const int result = dialog.exec();
    if (box.buttons == MessageBox::Buttons::YesNo)
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

std::optional<QString> QtDialogs::chooseFile(QWidget* parent, const FileDialog& dialog)
{
    const QString filter = qtFilter(dialog.filter);
    QString chosen;
    if (dialog.kind == FileDialog::Kind::Open) {
        chosen = QFileDialog::getOpenFileName(parent, QString(), dialog.fileName, filter);
    } else {
        // No overwrite question: the program's save dialogs replace silently.
        chosen = QFileDialog::getSaveFileName(parent, QString(), dialog.fileName, filter, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
    }
    if (chosen.isEmpty())
        return std::nullopt;
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
