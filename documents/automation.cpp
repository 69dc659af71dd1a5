#include "documents/automation.h"

#ifdef TPWORM_HAVE_LIBREOFFICE
#include "core/program_module.h"
#endif

namespace tpworm::automation {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()) {}

QString Error::message() const { return QString::fromStdString(what()); }

namespace {

QString kindName(const Variant& v)
{
    if (v.isEmpty())
        return QStringLiteral("nothing");
    if (v.as<bool>())
        return QStringLiteral("a flag");
    if (v.as<std::int32_t>() || v.as<double>())
        return QStringLiteral("a number");
    if (v.as<QString>())
        return QStringLiteral("a text");
    return QStringLiteral("an object");
}

Error wrongKind(const QString& what, const char* wanted, const Variant& v)
{
    return Error(QStringLiteral("%1 must be %2, not %3").arg(what, QLatin1String(wanted), kindName(v)));
}

} // namespace

bool Variant::toBool(const QString& what) const
{
    if (const bool* b = as<bool>())
        return *b;
    if (const std::int32_t* i = as<std::int32_t>())
        return *i != 0;
    throw wrongKind(what, "a flag", *this);
}

std::int32_t Variant::toInt(const QString& what) const
{
    if (const std::int32_t* i = as<std::int32_t>())
        return *i;
    throw wrongKind(what, "a whole number", *this);
}

QString Variant::toText(const QString& what) const
{
    if (const QString* s = as<QString>())
        return *s;
    throw wrongKind(what, "a text", *this);
}

std::shared_ptr<Object> Variant::toObject(const QString& what) const
{
    if (const auto* o = as<std::shared_ptr<Object>>(); o && *o)
        return *o;
    throw wrongKind(what, "an object", *this);
}

Object::~Object() = default;

std::shared_ptr<Object> Object::object(const QString& name, const Arguments& arguments)
{
    return get(name, arguments).toObject(name);
}

Error Object::unknownMember(const QString& objectName, const QString& member)
{
    return Error(QStringLiteral("%1 has no member \"%2\"").arg(objectName, member));
}

bool Object::is(const QString& name, const char* member)
{
    return name.compare(QLatin1String(member), Qt::CaseInsensitive) == 0;
}

void Registry::add(const QString& programmaticId, Factory factory, Factory early)
{
    factories_[programmaticId.toLower()] = {std::move(factory), std::move(early)};
}

bool Registry::has(const QString& programmaticId) const
{
    return factories_.count(programmaticId.toLower()) != 0;
}

std::shared_ptr<Object> Registry::create(const QString& programmaticId) const
{
    const auto found = factories_.find(programmaticId.toLower());
    if (found == factories_.end())
        throw Error(QStringLiteral("no automation server is registered as \"%1\"").arg(programmaticId));
    std::shared_ptr<Object> object = found->second.create();
    if (!object)
        throw Error(QStringLiteral("the automation server \"%1\" gave no object").arg(programmaticId));
    return object;
}

std::shared_ptr<Object> Registry::startEarly(const QString& programmaticId) const
{
    const auto found = factories_.find(programmaticId.toLower());
    if (found == factories_.end() || !found->second.early)
        return nullptr;
    try {
        return found->second.early();
    } catch (const std::exception&) {
        return nullptr; // the creation that follows meets the same failure and reports it
    }
}

#ifdef TPWORM_HAVE_LIBREOFFICE
// The LibreOffice backend is the module tpworm-libreoffice.so
// (documents/lo_module.cpp), loaded by the first creation: the UNO libraries
// are then mapped by the runs that use them only.
namespace {
std::shared_ptr<Object> libreOfficeApplication(bool early)
{
    using Entry = void (*)(bool, std::shared_ptr<Object>*);
    QString error;
    const auto entry = reinterpret_cast<Entry>(
        programModuleSymbol("tpworm-libreoffice.so", "tpworm_libreoffice_application", error));
    if (!entry)
        throw Error(error);
    std::shared_ptr<Object> application;
    entry(early, &application);
    return application;
}
} // namespace
#endif

Registry platformRegistry()
{
    Registry registry;
#ifdef TPWORM_HAVE_LIBREOFFICE
    registry.add(
        QStringLiteral("Excel.Application"), [] { return libreOfficeApplication(false); },
        [] { return libreOfficeApplication(true); });
#endif
    return registry;
}

bool hasLibreOfficeBackend()
{
#ifdef TPWORM_HAVE_LIBREOFFICE
    return true;
#else
    return false;
#endif
}

} // namespace tpworm::automation
