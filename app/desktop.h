// The desktop services the program asks for: opening a document with the
// user's viewer, starting another program, and ending this one. Tests replace
// them so that nothing is launched.
#pragma once

#include <QString>
#include <QStringList>

namespace tpworm {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a document or page with the associated application; false when
    // there is no such document or no application to show it.
    virtual bool openDocument(const QString& path) = 0;
    // Starts a program detached from this one; false when it could not start.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Asks the application to end once the current event is handled.
    virtual void terminate() = 0;
};

class SystemDesktop final : public Desktop {
public:
    // opener: the freedesktop command that opens a document with the user's
    // application (xdg-open); unused on Windows and macOS, whose shell reports
    // a missing application itself.
    explicit SystemDesktop(QString opener = QStringLiteral("xdg-open"), int waitMilliseconds = 1500);
    bool openDocument(const QString& path) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    void terminate() override;

private:
    QString opener_;
    int wait_;
};

} // namespace tpworm
