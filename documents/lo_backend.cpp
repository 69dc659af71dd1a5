#include "documents/lo_backend.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>

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

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
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
class Server {
public:
    explicit Server(const LibreOfficeSettings& settings);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

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
    void createProfile();
    void startProcess();
    void connect();
    Reference<css::uno::XComponentContext> bootstrapLocal() const;
    void requireRunning() const;
    void endProcess();
    void releaseUno();

    LibreOfficeSettings settings_;
    QTemporaryDir profileRoot_;
    QString pipeName_;
    QProcess process_;
    Reference<css::uno::XComponentContext> local_;
    Reference<css::frame::XDesktop2> desktop_;
    std::vector<Reference<css::lang::XComponent>> documents_; // the last is active
    bool ended_ = false;
};

Server::Server(const LibreOfficeSettings& settings)
    : settings_(settings), profileRoot_(QDir::tempPath() + QStringLiteral("/tpworm-lo-XXXXXX"))
{
    checkInstallation();
    createProfile();
    try {
        startProcess();
        connect();
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

void Server::createProfile()
{
    if (!profileRoot_.isValid())
        throw Error(QStringLiteral("cannot create a temporary folder for the LibreOffice profile: %1")
                        .arg(profileRoot_.errorString()));
    pipeName_ = QStringLiteral("tpworm-%1").arg(QFileInfo(profileRoot_.path()).fileName());
}

void Server::startProcess()
{
    const QString profileUrl = QUrl::fromLocalFile(profileRoot_.path()).toString(QUrl::FullyEncoded);
    process_.setProgram(settings_.program);
    process_.setArguments({
        QStringLiteral("--headless"),
        QStringLiteral("--invisible"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nologo"),
        QStringLiteral("--nodefault"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("--nofirststartwizard"),
        QStringLiteral("-env:UserInstallation=") + profileUrl,
        QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName_),
    });
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    // Should this program die without quitting, the server goes with it.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start();
    if (!process_.waitForStarted(10000))
        throw Error(QStringLiteral("LibreOffice could not be started: %1").arg(process_.errorString()));
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

void Server::connect()
{
    local_ = bootstrapLocal();
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
            return;
        } catch (const css::connection::NoConnectException&) {
            // not listening yet
        } catch (const css::uno::Exception& e) {
            throw unoError(QStringLiteral("LibreOffice does not answer"), e);
        }
        if (process_.waitForFinished(50)) {
            if (process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == RestartExitCode &&
                restarts < MaxRestarts) {
                ++restarts;
                startProcess();
                continue;
            }
            throw Error(QStringLiteral("LibreOffice ended while starting (exit code %1)").arg(process_.exitCode()));
        }
        if (clock.elapsed() > settings_.startTimeoutMs)
            throw Error(QStringLiteral("LibreOffice did not answer within %1 s").arg(settings_.startTimeoutMs / 1000));
    }
}

void Server::requireRunning() const
{
    if (ended_ || !desktop_.is())
        throw Error(QStringLiteral("the spreadsheet application has ended"));
}

Reference<css::lang::XComponent> Server::open(const QString& path)
{
    requireRunning();
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("the workbook %1 does not exist").arg(path));
    Reference<css::lang::XComponent> document;
    try {
        Reference<css::frame::XComponentLoader> loader(desktop_, UNO_QUERY_THROW);
        document = loader->loadComponentFromURL(
            fileUrl(path), rtl::OUString("_blank"), 0,
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

// Refuses targets that Excel would refuse too: a folder, a missing folder, a
// file without any write permission (the read-only attribute).
void checkTarget(const QFileInfo& target)
{
    if (target.fileName().isEmpty())
        throw Error(QStringLiteral("no file name given"));
    if (!target.dir().exists())
        throw Error(QStringLiteral("the folder %1 does not exist").arg(target.absolutePath()));
    if (target.exists()) {
        if (target.isDir())
            throw Error(QStringLiteral("%1 is a folder").arg(target.absoluteFilePath()));
        // The mode bits, not what the current user may do: an administrator
        // can write anything, but a protected file stays protected.
        constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if ((target.permissions() & anyWrite) == 0)
            throw Error(QStringLiteral("%1 is write-protected").arg(target.absoluteFilePath()));
    }
}

void Server::saveAs(const Reference<css::lang::XComponent>& document, const QString& name)
{
    requireRunning();
    const QFileInfo target(name);
    checkTarget(target);
    // Written beside the target and renamed over it, so that a failed save
    // leaves any earlier file of that name as it was.
    const QString temporary = target.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp").arg(target.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    try {
        Reference<css::frame::XStorable> storable(document, UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(temporary),
                             properties({property("FilterName", css::uno::Any(rtl::OUString("MS Excel 97"))),
                                         property("Overwrite", css::uno::Any(true))}));
    } catch (const css::uno::Exception& e) {
        QFile::remove(temporary);
        throw unoError(QStringLiteral("the workbook cannot be saved as %1").arg(name), e);
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        QFile::remove(temporary);
        throw Error(QStringLiteral("the workbook cannot be saved as %1").arg(name));
    }
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
    if (!failure.isNull())
        throw Error(QStringLiteral("a workbook cannot be closed: %1").arg(failure));
}

void Server::quit()
{
    if (ended_)
        return;
    ended_ = true;
    if (desktop_.is()) {
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
    }
    releaseUno();
    endProcess();
    profileRoot_.remove();
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

class ApplicationObject final : public Object {
public:
    explicit ApplicationObject(std::shared_ptr<Server> server) : server_(std::move(server)) {}

    void put(const QString& name, const Arguments& arguments, const Variant& value) override
    {
        if (!is(name, "Visible") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("Application"), name);
        // The server is started headless and invisible and stays so; the
        // exports only ever ask for that.
        value.toBool(QStringLiteral("Visible"));
    }
    Variant get(const QString& name, const Arguments& arguments) override
    {
        if (is(name, "WorkBooks") && arguments.isEmpty())
            return Variant(std::make_shared<WorkbooksObject>(server_));
        if (is(name, "ActiveWorkBook") && arguments.isEmpty())
            return Variant(std::make_shared<WorkbookObject>(server_, server_->activeDocument()));
        if (is(name, "Cells") && arguments.size() == 2) {
            const int row = arguments[0].toInt(QStringLiteral("the row of Cells"));
            const int column = arguments[1].toInt(QStringLiteral("the column of Cells"));
            server_->activeDocument();
            return Variant(std::make_shared<CellObject>(server_, row, column));
        }
        throw unknownMember(QStringLiteral("Application"), name);
    }
    Variant call(const QString& name, const Arguments& arguments) override
    {
        if (!is(name, "Quit") || !arguments.isEmpty())
            throw unknownMember(QStringLiteral("Application"), name);
        server_->quit();
        return {};
    }

private:
    std::shared_ptr<Server> server_;
};

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
    return std::make_shared<ApplicationObject>(std::make_shared<Server>(settings));
}

} // namespace tpworm::automation
