#include "app/retranslate.h"

#include "core/translation.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace tpworm {

namespace {

// Only texts with Chinese in them are the program's captions; numbers, field
// values and texts already translated are left as they are.
bool needsTranslation(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x3000)
            return true;
    return false;
}

QString translated(const QString& text) { return needsTranslation(text) ? uiText(text) : text; }

void translateAction(QAction* action)
{
    action->setText(translated(action->text()));
    action->setToolTip(translated(action->toolTip()));
    action->setStatusTip(translated(action->statusTip()));
    if (QMenu* menu = action->menu())
        menu->setTitle(translated(menu->title()));
}

// A label sized to its caption grows with the translation, as far as its
// parent allows; a label of fixed width keeps it (the translations are kept
// short enough for those).
void translateLabel(QLabel* label)
{
    const QString before = label->text();
    const QString after = translated(before);
    if (after == before)
        return;
    const bool fitted = label->width() <= label->fontMetrics().horizontalAdvance(before) + 2 && !label->wordWrap();
    label->setText(after);
    if (fitted) {
        const int wanted = label->fontMetrics().horizontalAdvance(after) + 2;
        if (wanted > label->width())
            label->resize(wanted, label->height());
    }
}

// A check box grows with its caption as a label does.
void translateCheckBox(QCheckBox* box)
{
    const QString before = box->text();
    const QString after = translated(before);
    if (after == before)
        return;
    box->setText(after);
    if (box->sizeHint().width() > box->width())
        box->resize(box->sizeHint().width(), box->height());
}

void translateHeaders(QAbstractItemView* view)
{
    QAbstractItemModel* model = view->model();
    if (!model)
        return;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString text = model->headerData(column, Qt::Horizontal).toString();
        if (needsTranslation(text))
            model->setHeaderData(column, Qt::Horizontal, uiText(text));
    }
}

void translateWidget(QWidget* widget)
{
    if (widget->isWindow())
        widget->setWindowTitle(translated(widget->windowTitle()));
    widget->setToolTip(translated(widget->toolTip()));
    widget->setStatusTip(translated(widget->statusTip()));
    if (auto* label = qobject_cast<QLabel*>(widget))
        translateLabel(label);
    else if (auto* box = qobject_cast<QCheckBox*>(widget))
        translateCheckBox(box);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(translated(button->text()));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(translated(group->title()));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setPlaceholderText(translated(edit->placeholderText()));
    else if (auto* view = qobject_cast<QAbstractItemView*>(widget))
        translateHeaders(view);
    if (auto* menu = qobject_cast<QMenu*>(widget))
        menu->setTitle(translated(menu->title()));
    for (QAction* action : widget->actions())
        translateAction(action);
}

class ShowTranslator final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow())
                translateWindow(widget);
        }
        return false;
    }
};

} // namespace

void translateWindow(QWidget* window)
{
    translateWidget(window);
    for (QWidget* child : window->findChildren<QWidget*>())
        translateWidget(child);
}

void translateWindowsAsShown(QApplication& app) { app.installEventFilter(new ShowTranslator(&app)); }

} // namespace tpworm
