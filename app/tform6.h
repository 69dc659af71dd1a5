// "关于": usage notes and the version history.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace tpworm {

// The text of the About window: how to use the program, the range the
// calculation rules are made for, and the version history.
QString aboutText();

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    QPlainTextEdit* Memo1 = nullptr;

    // The usage notes followed by the rules database in use and where its
    // tables come from (rules::rulesSourcesText).
    void setRulesSources(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createFrame();
    void createMemo();
};

} // namespace tpworm
