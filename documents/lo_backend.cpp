#include "documents/lo_backend.h"

#include "documents/automation_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <map>
#include <utility>
#include <vector>

namespace tpworm::automation {

namespace {

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// LibreOffice asks to be started again after it has set up a new profile.
constexpr int RestartExitCode = 81;
constexpr int MaxRestarts = 2;

rtl::OUString toUno(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), static_cast<sal_Int32>(text.size()));
}

QString fromUno(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

rtl::OUString fileUrl(const QString& path)
{
    return toUno(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
}

css::beans::PropertyValue property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = rtl::OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

css::uno::Sequence<css::beans::PropertyValue> properties(std::initializer_list<css::beans::PropertyValue> list)
{
    css::uno::Sequence<css::beans::PropertyValue> sequence(static_cast<sal_Int32>(list.size()));
    css::beans::PropertyValue* out = sequence.getArray();
    for (const css::beans::PropertyValue& p : list)
        *out++ = p;
    return sequence;
}

Error unoError(const QString& what, const css::uno::Exception& e)
{
    const QString detail = fromUno(e.Message);
    return Error(detail.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, detail));
}

// One private LibreOffice process and the UNO connection to it. Every object
// of the application's model shares it; the last one released ends it.
// ---- The server's home in the user's cache folder ------------------------------

// The cache folder of the program; the exports' servers keep their profiles
// below it so that a start finds its profile made.
QString cacheRoot()
{
    if (QCoreApplication::applicationName().isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/tpworm");
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

// Programs of this user running at once (the window and the command line,
// say) each need a profile of their own: LibreOffice hands a start with a
// profile in use to the process that has it. So the home is the first of a
// few numbered folders whose lock nobody holds. The lock is an flock: the
// kernel lets go of it when its holder dies, however it dies.
constexpr int HomeSlots = 8;

QString commandLineOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readAll();
    line.replace('\0', ' ');
    return QString::fromUtf8(line);
}

bool processGone(qint64 pid)
{
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return errno == ESRCH;
    // An ended process its parent has not reaped yet is gone as well.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && line.size() > close + 2 && (line[close + 2] == 'Z' || line[close + 2] == 'X');
}

class ServerHome {
public:
    ServerHome()
    {
        const QString base = cacheRoot() + QStringLiteral("/libreoffice");
        if (!QDir().mkpath(base))
            throw Error(QStringLiteral("cannot create the folder %1 for the LibreOffice profile").arg(base));
        for (int slot = 0; slot < HomeSlots; ++slot) {
            const QString root = QStringLiteral("%1/%2").arg(base).arg(slot);
            QDir().mkpath(root);
            const int fd = ::open(QFile::encodeName(root + QStringLiteral("/lock")).constData(),
                                  O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd < 0)
                continue;
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                lock_ = fd;
                root_ = root;
                break;
            }
            ::close(fd);
        }
        if (lock_ < 0)
            throw Error(QStringLiteral("no free LibreOffice profile in %1").arg(base));
        endLeftServer();
        emptyTemporary();
    }
    ~ServerHome()
    {
        removeTemporary();
        forgetServer();
        ::close(lock_);
    }
    ServerHome(const ServerHome&) = delete;
    ServerHome& operator=(const ServerHome&) = delete;

    QString profile() const { return root_ + QStringLiteral("/profile"); }
    QString profileUrl() const { return QUrl::fromLocalFile(profile()).toString(QUrl::FullyEncoded); }
    // The server's TMPDIR: LibreOffice leaves its lu*.tmp folders behind in
    // it, so it is ours alone and goes with the server.
    QString temporary() const { return root_ + QStringLiteral("/tmp"); }
    bool hasProfile() const { return QFileInfo::exists(profile()); }

    // The record that lets the next run end a server this run could not.
    void recordServer(qint64 pid, const QString& pipe)
    {
        QFile file(record());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(QStringLiteral("%1 %2\n").arg(pid).arg(pipe).toUtf8());
    }
    void forgetServer() { QFile::remove(record()); }

    void emptyTemporary()
    {
        removeTemporary();
        QDir().mkpath(temporary());
        QFile::setPermissions(temporary(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void removeTemporary() { QDir(temporary()).removeRecursively(); }
    void removeProfile()
    {
        QDir(profile()).removeRecursively();
        QFile::remove(profile()); // a file where the folder should be
    }

    // LibreOffice runs its graphics self-tests (tens of seconds on a busy
    // machine) on every start of a profile that has not recorded the version
    // it last ran, and only a window it shows records it: a headless server
    // would test at every start. The profile is ours alone, so the version
    // of the installation that starts it is recorded in it beforehand.
    void recordVersion(const QString& version)
    {
        static const QByteArray key = "oor:name=\"ooSetupLastVersion\"";
        const QByteArray item = "<item oor:path=\"/org.openoffice.Setup/Product\"><prop " + key +
                                " oor:op=\"fuse\"><value>" + version.toUtf8() + "</value></prop></item>\n";
        const QString path = profile() + QStringLiteral("/user/registrymodifications.xcu");
        QFile file(path);
        QByteArray content;
        if (file.open(QIODevice::ReadOnly))
            content = file.readAll();
        file.close();
        if (content.contains(key))
            return;
        const qsizetype end = content.lastIndexOf("</oor:items>");
        if (end < 0)
            content = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                      "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n" +
                      item + "</oor:items>\n";
        else
            content.insert(end, item);
        QDir().mkpath(profile() + QStringLiteral("/user"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }

private:
    QString record() const { return root_ + QStringLiteral("/server"); }

    // A run that was killed before its server could be told to end may have
    // left it running (the server is killed with its parent, but a run may
    // also have been stopped in a way that is not its death); ours holds the
    // profile now, so the old one is ended. Only a process whose command line
    // names this profile is touched: the number may belong to another
    // process by now.
    void endLeftServer()
    {
        QFile file(record());
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QStringList fields = QString::fromUtf8(file.readAll()).simplified().split(QLatin1Char(' '));
        file.close();
        const qint64 pid = fields.value(0).toLongLong();
        if (pid > 1 && commandLineOf(pid).contains(profileUrl())) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
            QElapsedTimer clock;
            clock.start();
            while (!processGone(pid) && clock.elapsed() < 5000)
                QThread::msleep(10);
        }
        // The pipe of a killed server stays in the folder where LibreOffice
        // makes its pipes.
        const QString pipe = fields.value(1);
        if (pipe.startsWith(QLatin1String("tpworm-"))) {
            const QByteArray path = QFile::encodeName(
                QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(pipe));
            struct stat st {};
            if (::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode))
                ::unlink(path.constData());
        }
        forgetServer();
    }

    QString root_;
    int lock_ = -1;
};

// ---- The server ----------------------------------------------------------------

// One private LibreOffice process and the UNO connection to it. It is started
// by the first export of a run and kept for the later ones: every object of
// the application's model shares it, and the last one released ends it (the
// window keeps one in AutomationApp until it closes). Should this program die
// without ending it, the process is killed with its parent.
class Server {
public:
    explicit Server(const LibreOfficeSettings& settings);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Waits for the started process to answer (once); Error and the server
    // ended when it does not.
    void ready();
    // Whether the process still runs and answers; false once it was killed.
    bool answers();

    Reference<css::lang::XComponent> open(const QString& path);
    Reference<css::lang::XComponent> activeDocument() const;
    void setCellValue(int row, int column, const Variant& value);
    void saveAs(const Reference<css::lang::XComponent>& document, const QString& name);
    void setSaved(const Reference<css::lang::XComponent>& document, bool saved);
    void closeAll();
    // Ends the process however it answers; safe to call more than once.
    void quit();

private:
    void checkInstallation() const;
    QString version();
    void startProcess();
    bool connect(QString& failure);
    Reference<css::uno::XComponentContext> bootstrapLocal() const;
    void requireRunning() const;
    void endProcess();
    void releaseUno();

    LibreOfficeSettings settings_;
    std::unique_ptr<ServerHome> home_;
    QString pipeName_;
    QProcess process_;
    Reference<css::uno::XComponentContext> local_;
    Reference<css::frame::XDesktop2> desktop_;
    std::vector<Reference<css::lang::XComponent>> documents_; // the last is active
    QStringList copies_; // of the opened workbooks, removed when they are closed
    bool profileWasKept_ = false;
    bool ended_ = false;
};

// The UNO bridge writes to the server's pipe; a server killed from outside
// must make that write fail, not end this program with SIGPIPE.
void ignoreBrokenPipes()
{
    static const bool ignored = [] {
        struct sigaction action {};
        if (::sigaction(SIGPIPE, nullptr, &action) == 0 && action.sa_handler == SIG_DFL)
            ::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

Server::Server(const LibreOfficeSettings& settings) : settings_(settings)
{
    checkInstallation();
    ignoreBrokenPipes();
    home_ = std::make_unique<ServerHome>();
    static int servers = 0;
    pipeName_ = QStringLiteral("tpworm-%1-%2").arg(QCoreApplication::applicationPid()).arg(++servers);
    profileWasKept_ = home_->hasProfile();
    try {
        if (const QString v = version(); !v.isEmpty())
            home_->recordVersion(v);
        startProcess();
    } catch (...) {
        quit();
        throw;
    }
}

Server::~Server() { quit(); }

void Server::checkInstallation() const
{
    const QFileInfo program(settings_.program);
    if (settings_.program.isEmpty() || !program.isFile() || !program.isExecutable())
        throw Error(QStringLiteral("LibreOffice is not installed (no program %1)").arg(settings_.program));
    if (!QFileInfo::exists(settings_.bootstrapIni))
        throw Error(QStringLiteral("LibreOffice is incomplete (no %1)").arg(settings_.bootstrapIni));
}

// "7.4" of "LibreOffice 7.4.7.2 40(Build:2)"; empty when it cannot be told.
// Asked once per program run: the answer comes without a full start.
QString Server::version()
{
    static std::map<QString, QString> known; // by program
    if (const auto found = known.find(settings_.program); found != known.end())
        return found->second;
    QProcess ask;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), home_->temporary());
    ask.setProcessEnvironment(environment);
    ask.start(settings_.program, {QStringLiteral("--version")});
    if (!ask.waitForFinished(30000))
        return {};
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("LibreOffice (\\d+\\.\\d+)")).match(QString::fromUtf8(ask.readAllStandardOutput()));
    return known[settings_.program] = match.hasMatch() ? match.captured(1) : QString();
}

void Server::startProcess()
{
    process_.setProgram(settings_.program);
    process_.setArguments({
        QStringLiteral("--headless"),
        QStringLiteral("--invisible"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nologo"),
        QStringLiteral("--nodefault"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("--nofirststartwizard"),
        QStringLiteral("-env:UserInstallation=") + home_->profileUrl(),
        QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName_),
    });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), home_->temporary());
    environment.insert(QStringLiteral("TMP"), home_->temporary());
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    // Should this program die without ending the server, the server goes
    // with it: nobody could drive it any more, so nothing is lost by killing
    // it outright, and a killed server is gone at once. (The signal follows
    // the death of the thread that starts the process: the exports start it
    // from the main thread.) A parent that died before the signal was set
    // is seen as a changed parent.
    const pid_t parent = ::getpid();
    process_.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
    });
    process_.start();
    if (!process_.waitForStarted(10000))
        throw Error(QStringLiteral("LibreOffice could not be started: %1").arg(process_.errorString()));
    home_->recordServer(process_.processId(), pipeName_);
}

Reference<css::uno::XComponentContext> Server::bootstrapLocal() const
{
    // The types and services of the installation, as LibreOffice's own
    // programs find them.
    rtl::Bootstrap::set(rtl::OUString("URE_BOOTSTRAP"), toUno(QStringLiteral("vnd.sun.star.pathname:") +
                                                               QFileInfo(settings_.bootstrapIni).absoluteFilePath()));
    try {
        return cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("the UNO runtime of LibreOffice cannot be started"), e);
    }
}

void Server::ready()
{
    if (desktop_.is())
        return;
    requireRunning();
    try {
        if (!local_.is())
            local_ = bootstrapLocal();
        QString failure;
        if (connect(failure))
            return;
        // A kept profile the server cannot start with is made anew, once;
        // a new profile that fails would fail again.
        if (!profileWasKept_)
            throw Error(failure);
        profileWasKept_ = false;
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
        home_->removeProfile();
        home_->emptyTemporary();
        if (const QString v = version(); !v.isEmpty())
            home_->recordVersion(v);
        startProcess();
        if (!connect(failure))
            throw Error(failure);
    } catch (...) {
        quit();
        throw;
    }
}

bool Server::connect(QString& failure)
{
    const rtl::OUString url =
        toUno(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName_));
    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local_);
    QElapsedTimer clock;
    clock.start();
    int restarts = 0;
    for (;;) {
        try {
            Reference<css::uno::XComponentContext> remote(resolver->resolve(url), UNO_QUERY_THROW);
            desktop_ = css::frame::Desktop::create(remote);
            return true;
        } catch (const css::connection::NoConnectException&) {
            // not listening yet
        } catch (const css::uno::Exception& e) {
            failure = unoError(QStringLiteral("LibreOffice does not answer"), e).message();
            return false;
        }
        if (process_.waitForFinished(20)) {
            // LibreOffice asks to be started again after it has set up a
            // new profile.
            if (process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == RestartExitCode &&
                restarts < MaxRestarts) {
                ++restarts;
                startProcess();
                continue;
            }
            failure = QStringLiteral("LibreOffice ended while starting (exit code %1)").arg(process_.exitCode());
            return false;
        }
        if (clock.elapsed() > settings_.startTimeoutMs) {
            failure = QStringLiteral("LibreOffice did not answer within %1 s").arg(settings_.startTimeoutMs / 1000);
            return false;
        }
    }
}

bool Server::answers()
{
    if (ended_ || process_.state() == QProcess::NotRunning || process_.waitForFinished(0))
        return false;
    if (!desktop_.is())
        return true; // still starting: ready() waits for it
    try {
        desktop_->getCurrentComponent();
        return true;
    } catch (const css::uno::Exception&) {
        // the bridge is gone with the process
        return false;
    }
}

void Server::requireRunning() const
{
    if (ended_)
        throw Error(QStringLiteral("the spreadsheet application has ended"));
}

Reference<css::lang::XComponent> Server::open(const QString& path)
{
    ready();
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("the workbook %1 does not exist").arg(path));
    // LibreOffice puts a lock file beside every workbook it opens, and one
    // left by a server killed from outside makes the next opening fail. So
    // the server opens a copy in its own temporary folder, which goes with it
    // and is cleared at the next start.
    static int opened = 0;
    const QString copy =
        QStringLiteral("%1/open-%2-%3").arg(home_->temporary()).arg(++opened).arg(QFileInfo(path).fileName());
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        throw Error(QStringLiteral("the workbook %1 cannot be opened").arg(path));
    copies_ << copy;
    Reference<css::lang::XComponent> document;
    try {
        Reference<css::frame::XComponentLoader> loader(desktop_, UNO_QUERY_THROW);
        document = loader->loadComponentFromURL(
            fileUrl(copy), rtl::OUString("_blank"), 0,
            // The server runs headless: a workbook shown in it would have no
            // screen to go to, so it is always loaded hidden.
            properties({property("Hidden", css::uno::Any(true)),
                        property("MacroExecutionMode", css::uno::Any(sal_Int16(0))),
                        property("UpdateDocMode", css::uno::Any(sal_Int16(0)))}));
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("the workbook %1 cannot be opened").arg(path), e);
    }
    if (!document.is())
        throw Error(QStringLiteral("the workbook %1 cannot be opened").arg(path));
    if (!Reference<css::sheet::XSpreadsheetDocument>(document, UNO_QUERY).is()) {
        Reference<css::util::XCloseable> closeable(document, UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        throw Error(QStringLiteral("%1 is not a workbook").arg(path));
    }
    documents_.push_back(document);
    return document;
}

Reference<css::lang::XComponent> Server::activeDocument() const
{
    requireRunning();
    if (documents_.empty())
        throw Error(QStringLiteral("no workbook is open"));
    return documents_.back();
}

Reference<css::sheet::XSpreadsheet> activeSheet(const Reference<css::lang::XComponent>& document)
{
    Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
    Reference<css::sheet::XSpreadsheetView> view(model->getCurrentController(), UNO_QUERY);
    if (view.is())
        return view->getActiveSheet();
    Reference<css::sheet::XSpreadsheetDocument> workbook(document, UNO_QUERY_THROW);
    Reference<css::container::XIndexAccess> sheets(workbook->getSheets(), UNO_QUERY_THROW);
    return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(0), UNO_QUERY_THROW);
}

void Server::setCellValue(int row, int column, const Variant& value)
{
    const Reference<css::lang::XComponent> document = activeDocument();
    if (row < 1 || column < 1)
        throw Error(QStringLiteral("there is no cell (%1, %2)").arg(row).arg(column));
    try {
        Reference<css::table::XCell> cell = activeSheet(document)->getCellByPosition(column - 1, row - 1);
        if (const QString* text = value.as<QString>()) {
            // Through the cell's text the content is always a text, also
            // where it reads as a number.
            Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(toUno(*text));
        } else if (const std::int32_t* whole = value.as<std::int32_t>()) {
            cell->setValue(*whole);
        } else if (const double* number = value.as<double>()) {
            cell->setValue(*number);
        } else if (value.isEmpty()) {
            Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(rtl::OUString());
        } else {
            throw Error(QStringLiteral("a cell value must be a text or a number"));
        }
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("cell (%1, %2) cannot be written").arg(row).arg(column), e);
    }
}

void Server::saveAs(const Reference<css::lang::XComponent>& document, const QString& name)
{
    requireRunning();
    // Refused targets (a folder, a missing folder, a file that is not a
    // regular one, the read-only mark) are refused before the server writes
    // anything; what it writes goes to a temporary name beside the target
    // and replaces the target only once it is checked.
    CheckedStore store(name);
    try {
        Reference<css::frame::XStorable> storable(document, UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(store.temporaryPath()),
                             properties({property("FilterName", css::uno::Any(rtl::OUString("MS Excel 97"))),
                                         property("Overwrite", css::uno::Any(true))}));
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("the workbook cannot be saved as %1").arg(name), e);
    }
    store.commit();
}

void Server::setSaved(const Reference<css::lang::XComponent>& document, bool saved)
{
    requireRunning();
    try {
        Reference<css::util::XModifiable>(document, UNO_QUERY_THROW)->setModified(!saved);
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("the workbook's saved state cannot be set"), e);
    }
}

void Server::closeAll()
{
    requireRunning();
    std::vector<Reference<css::lang::XComponent>> open;
    open.swap(documents_);
    QString failure;
    for (const Reference<css::lang::XComponent>& document : open) {
        try {
            Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
        } catch (const css::uno::Exception& e) {
            failure = fromUno(e.Message);
        }
    }
    for (const QString& copy : std::exchange(copies_, {}))
        QFile::remove(copy);
    if (!failure.isNull())
        throw Error(QStringLiteral("a workbook cannot be closed: %1").arg(failure));
}

void Server::quit()
{
    if (ended_)
        return;
    ended_ = true;
    if (desktop_.is() && process_.state() != QProcess::NotRunning) {
        for (const Reference<css::lang::XComponent>& document : documents_) {
            try {
                Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
            } catch (const css::uno::Exception&) {
                // the process is ended below whatever the document says
            }
        }
        try {
            desktop_->terminate();
        } catch (const css::uno::Exception&) {
            // the connection drops as the process goes; that is the answer
        }
    } else {
        // Not connected (still starting, or failed): nobody is there to be
        // asked, so the process is told to end.
        process_.terminate();
    }
    releaseUno();
    endProcess();
    // The profile stays for the next run; the lock goes, so that the next
    // server of this run finds the same profile.
    home_.reset();
}

void Server::releaseUno()
{
    documents_.clear();
    desktop_.clear();
    if (local_.is()) {
        try {
            Reference<css::lang::XComponent>(local_, UNO_QUERY_THROW)->dispose();
        } catch (const css::uno::Exception&) {
            // nothing is left to tidy in a context that cannot be disposed
        }
        local_.clear();
    }
}

void Server::endProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    if (process_.waitForFinished(settings_.endTimeoutMs))
        return;
    process_.terminate();
    if (process_.waitForFinished(5000))
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

// ---- The object model ------------------------------------------------------

class CellObject final : public Object {
public:
    CellObject(std::shared_ptr<Server> server, int row, int column)
        : server_(std::move(server)), row_(row), column_(column) {}

    void put(const QString& name, const Arguments& arguments, const Variant& value) override
    {
        if (!is(name, "Value") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("Cells"), name);
        server_->setCellValue(row_, column_, value);
    }
    Variant get(const QString& name, const Arguments&) override { throw unknownMember(QStringLiteral("Cells"), name); }
    Variant call(const QString& name, const Arguments&) override { throw unknownMember(QStringLiteral("Cells"), name); }

private:
    std::shared_ptr<Server> server_;
    int row_;
    int column_;
};

class WorkbookObject final : public Object {
public:
    WorkbookObject(std::shared_ptr<Server> server, Reference<css::lang::XComponent> document)
        : server_(std::move(server)), document_(std::move(document)) {}

    void put(const QString& name, const Arguments& arguments, const Variant& value) override
    {
        if (!is(name, "Saved") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("WorkBook"), name);
        server_->setSaved(document_, value.toBool(QStringLiteral("Saved")));
    }
    Variant get(const QString& name, const Arguments&) override
    {
        throw unknownMember(QStringLiteral("WorkBook"), name);
    }
    Variant call(const QString& name, const Arguments& arguments) override
    {
        if (!is(name, "SaveAs") || arguments.size() != 1)
            throw unknownMember(QStringLiteral("WorkBook"), name);
        server_->saveAs(document_, arguments[0].toText(QStringLiteral("the file name of SaveAs")));
        return {};
    }

private:
    std::shared_ptr<Server> server_;
    Reference<css::lang::XComponent> document_;
};

class WorkbooksObject final : public Object {
public:
    explicit WorkbooksObject(std::shared_ptr<Server> server) : server_(std::move(server)) {}

    void put(const QString& name, const Arguments&, const Variant&) override
    {
        throw unknownMember(QStringLiteral("WorkBooks"), name);
    }
    Variant get(const QString& name, const Arguments&) override
    {
        throw unknownMember(QStringLiteral("WorkBooks"), name);
    }
    Variant call(const QString& name, const Arguments& arguments) override
    {
        if (is(name, "Open") && arguments.size() == 1) {
            auto document = server_->open(arguments[0].toText(QStringLiteral("the file name of Open")));
            return Variant(std::make_shared<WorkbookObject>(server_, document));
        }
        if (is(name, "Close") && arguments.isEmpty()) {
            server_->closeAll();
            return {};
        }
        throw unknownMember(QStringLiteral("WorkBooks"), name);
    }

private:
    std::shared_ptr<Server> server_;
};

// The application object of one creation. Quit ends this object, not the
// server: the workbooks are closed and the server is kept for the next
// export's creation, which finds it through keptServer().
class ApplicationObject final : public Object {
public:
    explicit ApplicationObject(std::shared_ptr<Server> server) : server_(std::move(server)) {}

    void put(const QString& name, const Arguments& arguments, const Variant& value) override
    {
        if (!is(name, "Visible") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("Application"), name);
        requireOpen();
        // The server is started headless and invisible and stays so; the
        // exports only ever ask for that.
        value.toBool(QStringLiteral("Visible"));
    }
    Variant get(const QString& name, const Arguments& arguments) override
    {
        if (is(name, "WorkBooks") && arguments.isEmpty()) {
            requireOpen();
            return Variant(std::make_shared<WorkbooksObject>(server_));
        }
        if (is(name, "ActiveWorkBook") && arguments.isEmpty()) {
            requireOpen();
            return Variant(std::make_shared<WorkbookObject>(server_, server_->activeDocument()));
        }
        if (is(name, "Cells") && arguments.size() == 2) {
            const int row = arguments[0].toInt(QStringLiteral("the row of Cells"));
            const int column = arguments[1].toInt(QStringLiteral("the column of Cells"));
            requireOpen();
            server_->activeDocument();
            return Variant(std::make_shared<CellObject>(server_, row, column));
        }
        throw unknownMember(QStringLiteral("Application"), name);
    }
    Variant call(const QString& name, const Arguments& arguments) override
    {
        if (!is(name, "Quit") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("Application"), name);
        if (quit_)
            return {};
        quit_ = true;
        try {
            server_->closeAll();
        } catch (const Error&) {
            // A server that cannot close its workbooks is no use to the next
            // export: it is ended, and the next creation starts another.
            server_->quit();
        }
        return {};
    }

private:
    void requireOpen()
    {
        if (quit_)
            throw Error(QStringLiteral("the spreadsheet application has quit"));
        server_->ready();
    }

    std::shared_ptr<Server> server_;
    bool quit_ = false;
};

// The server of the run: held by the application objects (the window's
// AutomationApp among them), found here by the next creation.
std::weak_ptr<Server>& keptServer()
{
    static std::weak_ptr<Server> kept;
    return kept;
}

// The kept server when it still answers, else a new one (started, not yet
// answering).
std::shared_ptr<Server> runServer(const LibreOfficeSettings& settings)
{
    std::shared_ptr<Server> server = keptServer().lock();
    if (server && server->answers())
        return server;
    if (server)
        server->quit(); // killed from outside: what is left of it goes now
    server = std::make_shared<Server>(settings);
    keptServer() = server;
    return server;
}

} // namespace

LibreOfficeSettings LibreOfficeSettings::fromEnvironment()
{
    LibreOfficeSettings settings;
    const QString override = qEnvironmentVariable("TPWORM_SOFFICE");
    settings.program = qEnvironmentVariableIsSet("TPWORM_SOFFICE")
                           ? override
                           : QStringLiteral(TPWORM_LO_PROGRAM_DIR "/soffice.bin");
    settings.bootstrapIni = QFileInfo(settings.program).absoluteDir().filePath(QStringLiteral("fundamentalrc"));
    return settings;
}

std::shared_ptr<Object> createLibreOfficeApplication(const LibreOfficeSettings& settings)
{
    std::shared_ptr<Server> server = runServer(settings);
    server->ready();
    return std::make_shared<ApplicationObject>(server);
}

std::shared_ptr<Object> startLibreOfficeApplication(const LibreOfficeSettings& settings)
{
    return std::make_shared<ApplicationObject>(runServer(settings));
}

} // namespace tpworm::automation
