#include "documents/lo_backend.h"

#include "documents/automation_store.h"

#include <QCoreApplication>
#include <QCryptographicHash>
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
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/io/XOutputStream.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetAnnotations.hpp>
#include <com/sun/star/sheet/XSheetAnnotationsSupplier.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>
#include <rtl/bootstrap.hxx>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <map>
#include <optional>
#include <tuple>
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

    // Where LibreOffice makes the pipe it is told to listen on.
    static QString pipePath(const QString& name)
    {
        return QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(name);
    }
    // The pipes of a server that was killed, which would stay in /tmp: the
    // one it listened on for us and the one by which LibreOffice finds the
    // process that has a profile (named after the MD5 of the profile's URL
    // in UTF-16). The profile is ours alone while we hold its lock, so both
    // are ours; only sockets are removed.
    void removePipes(const QString& name) const
    {
        const QString url = profileUrl();
        const QByteArray digest =
            QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(url.utf16()), url.size() * 2),
                                     QCryptographicHash::Md5)
                .toHex();
        for (const QString& pipe : {pipePath(name), pipePath(QStringLiteral("SingleOfficeIPC_") +
                                                             QString::fromLatin1(digest))}) {
            const QByteArray path = QFile::encodeName(pipe);
            struct stat st {};
            if (::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode))
                ::unlink(path.constData());
        }
    }

    // The program file as it is now: its path, size, modification time and
    // inode.
    static QString programStamp(const QString& program)
    {
        struct stat st {};
        if (::stat(QFile::encodeName(program).constData(), &st) != 0)
            return {};
        return QStringLiteral("%1 %2 %3.%4 %5")
            .arg(QFileInfo(program).absoluteFilePath())
            .arg(qint64(st.st_size))
            .arg(qint64(st.st_mtim.tv_sec))
            .arg(qint64(st.st_mtim.tv_nsec))
            .arg(quint64(st.st_ino));
    }
    // The version an earlier start asked of the program with this stamp.
    QString keptVersion(const QString& stamp) const
    {
        QFile file(root_ + QStringLiteral("/version"));
        if (stamp.isEmpty() || !file.open(QIODevice::ReadOnly))
            return {};
        const QStringList line = QString::fromUtf8(file.readAll()).trimmed().split(QLatin1Char('\t'));
        return line.size() == 2 && line[0] == stamp ? line[1] : QString();
    }
    void keepVersion(const QString& stamp, const QString& version) const
    {
        QFile file(root_ + QStringLiteral("/version"));
        if (!stamp.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write((stamp + QLatin1Char('\t') + version + QLatin1Char('\n')).toUtf8());
    }

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

    // Settings of the profile, written into it before the server starts
    // (the profile is ours alone):
    // - LibreOffice runs its graphics self-tests (tens of seconds on a busy
    //   machine) on every start of a profile that has not recorded the
    //   version it last ran, and only a window it shows records it: a
    //   headless server would test at every start. So the version of the
    //   installation that starts it is recorded (replaced after an update).
    // - No autosave: the server's workbooks are copies of templates, kept
    //   loaded for the whole run, and it never restores what a saved copy
    //   would recover (--norestore); a timed save would only store one in
    //   the middle of an export.
    void prepareProfile(const QString& version)
    {
        struct Setting {
            const char* path;
            const char* name;
            QString value;
        };
        std::vector<Setting> settings = {{"/org.openoffice.Office.Recovery/AutoSave", "Enabled", "false"}};
        if (!version.isEmpty())
            settings.push_back({"/org.openoffice.Setup/Product", "ooSetupLastVersion", version});
        const QString path = profile() + QStringLiteral("/user/registrymodifications.xcu");
        QFile file(path);
        QString content;
        if (file.open(QIODevice::ReadOnly))
            content = QString::fromUtf8(file.readAll());
        file.close();
        if (!content.contains(QLatin1String("</oor:items>")))
            content = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                                     "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                                     "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
                                     "</oor:items>\n");
        bool changed = false;
        for (const Setting& setting : settings) {
            const QString item = QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\" oor:op=\"fuse\">")
                                     .arg(QLatin1String(setting.path), QLatin1String(setting.name));
            const QRegularExpression recorded(QRegularExpression::escape(item) +
                                              QStringLiteral("<value>([^<]*)</value>"));
            if (const QRegularExpressionMatch match = recorded.match(content); match.hasMatch()) {
                if (match.captured(1) != setting.value) {
                    content.replace(match.capturedStart(1), match.capturedLength(1), setting.value);
                    changed = true;
                }
                continue;
            }
            content.insert(content.lastIndexOf(QLatin1String("</oor:items>")),
                           item + QStringLiteral("<value>%1</value></prop></item>\n").arg(setting.value));
            changed = true;
        }
        if (!changed)
            return;
        QDir().mkpath(profile() + QStringLiteral("/user"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content.toUtf8());
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
        // The pipes of a killed server stay in the folder where LibreOffice
        // makes its pipes.
        if (const QString pipe = fields.value(1); pipe.startsWith(QLatin1String("tpworm-")))
            removePipes(pipe);
        forgetServer();
    }

    QString root_;
    int lock_ = -1;
};

// ---- The server ----------------------------------------------------------------

// A value written to a cell, held until the writes go to the server together.
struct PendingCell {
    int row = 0;
    int column = 0;
    Variant value;
};

// The file a workbook was loaded from, as it was when it was loaded: a kept
// workbook serves a later opening only while its file is unchanged.
struct FileStamp {
    QString path;
    qint64 size = -1;
    qint64 modified = 0; // ns
    quint64 inode = 0;
    quint64 device = 0;

    static FileStamp of(const QString& path)
    {
        FileStamp stamp;
        stamp.path = QFileInfo(path).absoluteFilePath();
        struct stat st {};
        if (::stat(QFile::encodeName(stamp.path).constData(), &st) == 0) {
            stamp.size = st.st_size;
            stamp.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
            stamp.inode = st.st_ino;
            stamp.device = st.st_dev;
        }
        return stamp;
    }
    bool operator==(const FileStamp&) const = default;
};

// A workbook loaded in the server. Opening the same template again is most of
// a later export's time, so a workbook that an export closes is kept loaded
// for the next opening of its file: its writes are undone (each flush of
// writes is one undo context), which gives back the workbook as it was
// loaded.
struct Book {
    FileStamp source;
    QString copy; // the file the server loaded
    Reference<css::lang::XComponent> document;
    // Asked once per workbook: every object from the server costs a round
    // trip to it.
    Reference<css::sheet::XSpreadsheet> sheet;
    std::map<std::tuple<int, int, int>, Reference<css::sheet::XCellRangeData>> columns; // (column, row, rows)
    std::optional<bool> sheetHasComments;
    int undoContexts = 0; // flushes since it was loaded or put back
    int opening = 0;      // counts its openings; 0 while it is kept unopened
    bool keepable = true; // false once putting it back failed
};

// An XOutputStream of this process that the server stores a workbook into:
// the bytes come here instead of into a file of the server's, which would
// flush every write of its storage to the disk. The store checks the file
// and makes it reach the disk once.
class FileOutput final : public cppu::WeakImplHelper1<css::io::XOutputStream> {
public:
    explicit FileOutput(const QString& path) : file_(path) {}
    bool open() { return file_.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    QString failure() const { return failure_; }

    void SAL_CALL writeBytes(const css::uno::Sequence<sal_Int8>& data) override
    {
        const qint64 size = data.getLength();
        if (!failure_.isEmpty() || file_.write(reinterpret_cast<const char*>(data.getConstArray()), size) != size) {
            if (failure_.isEmpty())
                failure_ = file_.errorString();
            throw css::io::IOException(toUno(failure_));
        }
    }
    void SAL_CALL flush() override {}
    void SAL_CALL closeOutput() override
    {
        if (!file_.isOpen())
            return;
        if (!file_.flush() && failure_.isEmpty())
            failure_ = file_.errorString();
        file_.close();
    }

private:
    QFile file_;
    QString failure_;
};

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

    std::shared_ptr<Book> open(const QString& path);
    std::shared_ptr<Book> activeBook();
    // The opening of a workbook object still open; Error once it was closed.
    void requireOpen(const std::shared_ptr<Book>& book, int opening);
    // Checks the cell and the value here; the value reaches the server with
    // the next call that needs the workbook as written (a save, a close).
    void setCellValue(int row, int column, const Variant& value);
    void saveAs(const std::shared_ptr<Book>& book, const QString& name);
    void setSaved(const std::shared_ptr<Book>& book, bool saved);
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
    std::shared_ptr<Book> load(const QString& path);
    void flush();
    void writeColumn(Book& book, int column, int row, const std::vector<const PendingCell*>& cells);
    void writeCell(Book& book, const PendingCell& cell);
    bool putBack(Book& book);
    void closeDocument(Book& book);
    void endProcess();
    void releaseUno();

    LibreOfficeSettings settings_;
    std::unique_ptr<ServerHome> home_;
    QString pipeName_;
    QProcess process_;
    Reference<css::uno::XComponentContext> local_;
    Reference<css::frame::XDesktop2> desktop_;
    std::vector<std::shared_ptr<Book>> open_; // the workbooks open, the last active
    std::vector<std::shared_ptr<Book>> kept_; // closed by their exports, kept loaded
    std::vector<PendingCell> pending_;        // for the active workbook
    bool profileWasKept_ = false;
    // A profile set up by this server is complete only once the server has
    // ended as LibreOffice ends; a kept one is not changed by ending it.
    bool profileMadeHere_ = false;
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
    profileMadeHere_ = !profileWasKept_;
    try {
        home_->prepareProfile(version());
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
// Asking starts the program once more, which costs as much as a third of a
// server's start: the answer is kept in the home with the program file it
// came from, and asked again only when that file changes.
QString Server::version()
{
    static std::map<QString, QString> known; // by program, for this run
    if (const auto found = known.find(settings_.program); found != known.end())
        return found->second;
    const QString stamp = home_->programStamp(settings_.program);
    if (const QString kept = home_->keptVersion(stamp); !kept.isEmpty())
        return known[settings_.program] = kept;
    QProcess ask;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), home_->temporary());
    ask.setProcessEnvironment(environment);
    ask.start(settings_.program, {QStringLiteral("--version")});
    if (!ask.waitForFinished(30000))
        return {};
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("LibreOffice (\\d+\\.\\d+)")).match(QString::fromUtf8(ask.readAllStandardOutput()));
    const QString version = match.hasMatch() ? match.captured(1) : QString();
    if (!version.isEmpty())
        home_->keepVersion(stamp, version);
    return known[settings_.program] = version;
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
        profileMadeHere_ = true;
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
        home_->removeProfile();
        home_->emptyTemporary();
        home_->prepareProfile(version());
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
    // The pipe appears when the server listens: it is looked for every
    // millisecond (a look costs a few microseconds), and connected to as soon
    // as it is there.
    const QByteArray pipe = QFile::encodeName(home_->pipePath(pipeName_));
    QElapsedTimer clock;
    clock.start();
    int restarts = 0;
    for (;;) {
        struct stat st {};
        if (::stat(pipe.constData(), &st) == 0) {
            try {
                Reference<css::uno::XComponentContext> remote(resolver->resolve(url), UNO_QUERY_THROW);
                desktop_ = css::frame::Desktop::create(remote);
                return true;
            } catch (const css::connection::NoConnectException&) {
                // there, but not listening yet
            } catch (const css::uno::Exception& e) {
                failure = unoError(QStringLiteral("LibreOffice does not answer"), e).message();
                return false;
            }
        }
        if (process_.waitForFinished(1)) {
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

std::shared_ptr<Book> Server::open(const QString& path)
{
    ready();
    flush();
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("the workbook %1 does not exist").arg(path));
    const FileStamp source = FileStamp::of(path);
    std::shared_ptr<Book> book;
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if ((*it)->source == source) {
            book = *it;
            kept_.erase(it);
            break;
        }
    }
    if (!book)
        book = load(path);
    static int openings = 0;
    book->opening = ++openings;
    open_.push_back(book);
    return book;
}

std::shared_ptr<Book> Server::load(const QString& path)
{
    // LibreOffice puts a lock file beside every workbook it opens, and one
    // left by a server killed from outside makes the next opening fail. So
    // the server opens a copy in its own temporary folder, which goes with it
    // and is cleared at the next start. (A plain copy: it need not reach the
    // disk.)
    static int loaded = 0;
    auto book = std::make_shared<Book>();
    book->source = FileStamp::of(path);
    book->copy =
        QStringLiteral("%1/open-%2-%3").arg(home_->temporary()).arg(++loaded).arg(QFileInfo(path).fileName());
    QByteArray bytes;
    {
        QFile in(path);
        QFile out(book->copy);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(bytes = in.readAll()) != bytes.size() || !out.flush()) {
            out.close();
            QFile::remove(book->copy);
            throw Error(QStringLiteral("the workbook %1 cannot be opened").arg(path));
        }
    }
    try {
        Reference<css::frame::XComponentLoader> loader(desktop_, UNO_QUERY_THROW);
        book->document = loader->loadComponentFromURL(
            fileUrl(book->copy), rtl::OUString("_blank"), 0,
            // The server runs headless: a workbook shown in it would have no
            // screen to go to, so it is always loaded hidden.
            properties({property("Hidden", css::uno::Any(true)),
                        property("MacroExecutionMode", css::uno::Any(sal_Int16(0))),
                        property("UpdateDocMode", css::uno::Any(sal_Int16(0)))}));
    } catch (const css::uno::Exception& e) {
        QFile::remove(book->copy);
        throw unoError(QStringLiteral("the workbook %1 cannot be opened").arg(path), e);
    }
    if (!book->document.is() || !Reference<css::sheet::XSpreadsheetDocument>(book->document, UNO_QUERY).is()) {
        const bool loadedSomething = book->document.is();
        closeDocument(*book);
        if (!loadedSomething)
            throw Error(QStringLiteral("the workbook %1 cannot be opened").arg(path));
        throw Error(QStringLiteral("%1 is not a workbook").arg(path));
    }
    return book;
}

std::shared_ptr<Book> Server::activeBook()
{
    requireRunning();
    if (open_.empty())
        throw Error(QStringLiteral("no workbook is open"));
    return open_.back();
}

void Server::requireOpen(const std::shared_ptr<Book>& book, int opening)
{
    requireRunning();
    if (book->opening != opening || std::find(open_.begin(), open_.end(), book) == open_.end())
        throw Error(QStringLiteral("the workbook is closed"));
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
    activeBook();
    if (row < 1 || column < 1)
        throw Error(QStringLiteral("there is no cell (%1, %2)").arg(row).arg(column));
    if (!value.as<QString>() && !value.as<std::int32_t>() && !value.as<double>() && !value.isEmpty())
        throw Error(QStringLiteral("a cell value must be a text or a number"));
    pending_.push_back({row, column, value});
}

namespace {

// A text with a line break becomes a cell of several paragraphs when it is
// written through the cell's text, and a plain text through a range's data:
// such a text is written on its own, as a cell's text.
bool goesIntoRangeData(const Variant& value)
{
    const QString* text = value.as<QString>();
    return !text || (!text->contains(QLatin1Char('\n')) && !text->contains(QLatin1Char('\r')));
}

css::uno::Any rangeDatum(const Variant& value)
{
    if (const QString* text = value.as<QString>())
        return css::uno::Any(toUno(*text)); // a text, also where it reads as a number
    if (const std::int32_t* whole = value.as<std::int32_t>())
        return css::uno::Any(double(*whole));
    if (const double* number = value.as<double>())
        return css::uno::Any(*number);
    return css::uno::Any(rtl::OUString()); // an empty text empties the cell
}

} // namespace

// The writes go to the server in as few calls as they can: a cell at a time
// costs three round trips to the server (the cell, its text, the text set),
// so the cells of a column that follow each other go as one range's data,
// whose range object the workbook keeps for the next export. Both ways give
// the same cells (a text stays a text, an empty text empties the cell), but
// a range's data also drops the comments in the range: a sheet with
// comments is written a cell at a time.
void Server::flush()
{
    if (pending_.empty())
        return;
    std::vector<PendingCell> cells;
    cells.swap(pending_);
    const std::shared_ptr<Book> book = activeBook();
    // The last value written to a cell is the one it keeps.
    std::map<std::pair<int, int>, const PendingCell*> last; // (column, row)
    for (const PendingCell& cell : cells)
        last[{cell.column, cell.row}] = &cell;
    try {
        if (!book->sheet.is())
            book->sheet = activeSheet(book->document);
        if (!book->sheetHasComments) {
            Reference<css::sheet::XSheetAnnotationsSupplier> notes(book->sheet, UNO_QUERY);
            book->sheetHasComments = !notes.is() || notes->getAnnotations()->getCount() > 0;
        }
    } catch (const css::uno::Exception& e) {
        const PendingCell& first = *last.begin()->second;
        throw unoError(QStringLiteral("cell (%1, %2) cannot be written").arg(first.row).arg(first.column), e);
    }
    Reference<css::document::XUndoManager> undo;
    try {
        undo = Reference<css::document::XUndoManagerSupplier>(book->document, UNO_QUERY_THROW)->getUndoManager();
        undo->enterUndoContext(rtl::OUString());
    } catch (const css::uno::Exception&) {
        undo.clear();
        book->keepable = false; // its writes could not be undone
    }
    std::vector<const PendingCell*> run;
    auto writeRun = [&] {
        if (!run.empty())
            writeColumn(*book, run.front()->column, run.front()->row, run);
        run.clear();
    };
    for (const auto& [at, cell] : last) {
        if (*book->sheetHasComments || !goesIntoRangeData(cell->value)) {
            writeRun();
            writeCell(*book, *cell);
            continue;
        }
        if (!run.empty() && (run.back()->column != cell->column || run.back()->row + 1 != cell->row))
            writeRun();
        run.push_back(cell);
    }
    writeRun();
    if (undo.is()) {
        try {
            undo->leaveUndoContext();
            ++book->undoContexts;
        } catch (const css::uno::Exception&) {
            book->keepable = false;
        }
    }
}

void Server::writeColumn(Book& book, int column, int row, const std::vector<const PendingCell*>& cells)
{
    const int rows = static_cast<int>(cells.size());
    try {
        Reference<css::sheet::XCellRangeData>& range = book.columns[{column, row, rows}];
        if (!range.is())
            range.set(book.sheet->getCellRangeByPosition(column - 1, row - 1, column - 1, row + rows - 2),
                      UNO_QUERY_THROW);
        css::uno::Sequence<css::uno::Sequence<css::uno::Any>> data(rows);
        css::uno::Sequence<css::uno::Any>* out = data.getArray();
        for (const PendingCell* cell : cells) {
            out->realloc(1);
            out->getArray()[0] = rangeDatum(cell->value);
            ++out;
        }
        range->setDataArray(data);
    } catch (const css::uno::RuntimeException&) {
        // Refused as a range (a protected sheet): the cells one by one, as
        // they would have been written without ranges.
        for (const PendingCell* cell : cells)
            writeCell(book, *cell);
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("cell (%1, %2) cannot be written").arg(row).arg(column), e);
    }
}

void Server::writeCell(Book& book, const PendingCell& c)
{
    try {
        Reference<css::table::XCell> cell = book.sheet->getCellByPosition(c.column - 1, c.row - 1);
        if (const QString* text = c.value.as<QString>()) {
            // Through the cell's text the content is always a text, also
            // where it reads as a number.
            Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(toUno(*text));
        } else if (const std::int32_t* whole = c.value.as<std::int32_t>()) {
            cell->setValue(*whole);
        } else if (const double* number = c.value.as<double>()) {
            cell->setValue(*number);
        } else {
            Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(rtl::OUString());
        }
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("cell (%1, %2) cannot be written").arg(c.row).arg(c.column), e);
    }
}

void Server::saveAs(const std::shared_ptr<Book>& book, const QString& name)
{
    requireRunning();
    // Refused targets (a folder, a missing folder, a file that is not a
    // regular one, the read-only mark) are refused before the server writes
    // anything; what it writes goes to a temporary name beside the target
    // and replaces the target only once it is checked.
    CheckedStore store(name);
    flush();
    rtl::Reference<FileOutput> output(new FileOutput(store.temporaryPath()));
    if (!output->open())
        throw Error(QStringLiteral("cannot write beside %1").arg(name));
    try {
        Reference<css::frame::XStorable> storable(book->document, UNO_QUERY_THROW);
        storable->storeToURL(rtl::OUString("private:stream"),
                             properties({property("FilterName", css::uno::Any(rtl::OUString("MS Excel 97"))),
                                         property("OutputStream", css::uno::Any(Reference<css::io::XOutputStream>(
                                                                      output.get())))}));
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("the workbook cannot be saved as %1").arg(name), e);
    }
    output->closeOutput();
    if (!output->failure().isEmpty())
        throw Error(QStringLiteral("the workbook cannot be saved as %1: %2").arg(name, output->failure()));
    store.commit();
}

void Server::setSaved(const std::shared_ptr<Book>& book, bool saved)
{
    requireRunning();
    flush();
    try {
        Reference<css::util::XModifiable>(book->document, UNO_QUERY_THROW)->setModified(!saved);
    } catch (const css::uno::Exception& e) {
        throw unoError(QStringLiteral("the workbook's saved state cannot be set"), e);
    }
}

// Undoes what the exports wrote into the workbook since it was loaded, so
// that the next opening of its file finds it as loaded. False when that
// cannot be done: the workbook is then closed.
bool Server::putBack(Book& book)
{
    if (!book.keepable)
        return false;
    try {
        if (book.undoContexts > 0) {
            Reference<css::document::XUndoManager> undo =
                Reference<css::document::XUndoManagerSupplier>(book.document, UNO_QUERY_THROW)->getUndoManager();
            for (; book.undoContexts > 0; --book.undoContexts)
                undo->undo();
            undo->clear();
        }
        Reference<css::util::XModifiable>(book.document, UNO_QUERY_THROW)->setModified(false);
        return true;
    } catch (const css::uno::Exception&) {
        return false;
    }
}

void Server::closeDocument(Book& book)
{
    if (book.document.is()) {
        Reference<css::util::XCloseable> closeable(book.document, UNO_QUERY);
        book.document.clear();
        book.columns.clear();
        book.sheet.clear();
        if (closeable.is())
            closeable->close(true); // throws when the server refuses
    }
    QFile::remove(book.copy);
}

// The workbooks the last export kept for the next, at most one per template
// of the exports: a workbook beyond that is closed.
constexpr std::size_t MaxKeptBooks = 3;

void Server::closeAll()
{
    requireRunning();
    pending_.clear(); // a close without a save drops them, as it drops the workbook
    std::vector<std::shared_ptr<Book>> open;
    open.swap(open_);
    QString failure;
    for (const std::shared_ptr<Book>& book : open) {
        book->opening = 0;
        if (putBack(*book)) {
            kept_.push_back(book);
            continue;
        }
        try {
            closeDocument(*book);
        } catch (const css::uno::Exception& e) {
            failure = fromUno(e.Message);
        }
    }
    while (kept_.size() > MaxKeptBooks) {
        std::shared_ptr<Book> oldest = kept_.front();
        kept_.erase(kept_.begin());
        try {
            closeDocument(*oldest);
        } catch (const css::uno::Exception& e) {
            failure = fromUno(e.Message);
        }
    }
    if (!failure.isNull())
        throw Error(QStringLiteral("a workbook cannot be closed: %1").arg(failure));
}

void Server::quit()
{
    if (ended_)
        return;
    ended_ = true;
    pending_.clear();
    const bool connected = desktop_.is() && process_.state() != QProcess::NotRunning;
    if (connected && profileMadeHere_) {
        // A profile this server set up is written out as LibreOffice ends.
        for (const auto* books : {&open_, &kept_}) {
            for (const std::shared_ptr<Book>& book : *books) {
                try {
                    closeDocument(*book);
                } catch (const css::uno::Exception&) {
                    // the process is ended below whatever the document says
                }
            }
        }
        try {
            desktop_->terminate();
        } catch (const css::uno::Exception&) {
            // the connection drops as the process goes; that is the answer
        }
    } else {
        // The server holds nothing of the user's: what it stored is in
        // place, what it has loaded are copies of templates in its own
        // temporary folder, and its kept profile is to stay as it is. So it
        // is killed, which ends it at once, instead of being asked to end,
        // which takes a fifth of a second writing out a profile that has
        // nothing to keep. (Not connected: still starting, or failed.)
        process_.kill();
    }
    open_.clear();
    kept_.clear();
    releaseUno();
    endProcess();
    home_->removePipes(pipeName_);
    // The profile stays for the next run; the lock goes, so that the next
    // server of this run finds the same profile.
    home_.reset();
}

void Server::releaseUno()
{
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
    WorkbookObject(std::shared_ptr<Server> server, std::shared_ptr<Book> book)
        : server_(std::move(server)), book_(std::move(book)), opening_(book_->opening) {}

    void put(const QString& name, const Arguments& arguments, const Variant& value) override
    {
        if (!is(name, "Saved") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("WorkBook"), name);
        const bool saved = value.toBool(QStringLiteral("Saved"));
        server_->requireOpen(book_, opening_);
        server_->setSaved(book_, saved);
    }
    Variant get(const QString& name, const Arguments&) override
    {
        throw unknownMember(QStringLiteral("WorkBook"), name);
    }
    Variant call(const QString& name, const Arguments& arguments) override
    {
        if (!is(name, "SaveAs") || arguments.size() != 1)
            throw unknownMember(QStringLiteral("WorkBook"), name);
        const QString file = arguments[0].toText(QStringLiteral("the file name of SaveAs"));
        server_->requireOpen(book_, opening_);
        server_->saveAs(book_, file);
        return {};
    }

private:
    std::shared_ptr<Server> server_;
    std::shared_ptr<Book> book_;
    int opening_;
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
            return Variant(std::make_shared<WorkbookObject>(server_, server_->activeBook()));
        }
        if (is(name, "Cells") && arguments.size() == 2) {
            const int row = arguments[0].toInt(QStringLiteral("the row of Cells"));
            const int column = arguments[1].toInt(QStringLiteral("the column of Cells"));
            requireOpen();
            server_->activeBook();
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
