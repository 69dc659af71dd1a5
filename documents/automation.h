// A small late-bound automation layer: an application object is created by its
// programmatic identifier ("Excel.Application") and driven by member name with
// put property, get property and call method, taking variant arguments, the way
// the menu exports talk to a spreadsheet application.
//
// Member names are matched without regard to case, as late binding does
// ("WorkBooks", "Saveas"). A backend offers only the members the exports use;
// any other name is an error.
#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <variant>

namespace tpworm::automation {

class Object;

// Every failure of the layer: no server under the identifier, a server that
// would not start, a call refused by the server, an unknown member.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message);
    QString message() const;
};

// An argument or result: nothing, a flag, a whole number, a number, a text or
// another automation object.
class Variant {
public:
    Variant() = default;
    Variant(bool value) : value_(value) {}
    Variant(int value) : value_(static_cast<std::int32_t>(value)) {}
    Variant(double value) : value_(value) {}
    Variant(const QString& value) : value_(value) {}
    Variant(const char* value) : value_(QString::fromUtf8(value)) {}
    Variant(std::shared_ptr<Object> value) : value_(std::move(value)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    // Each throws Error naming `what` when the variant holds another kind.
    bool toBool(const QString& what) const;
    std::int32_t toInt(const QString& what) const;
    QString toText(const QString& what) const;
    std::shared_ptr<Object> toObject(const QString& what) const;

    template <class T>
    const T* as() const { return std::get_if<T>(&value_); }

private:
    std::variant<std::monostate, bool, std::int32_t, double, QString, std::shared_ptr<Object>> value_;
};

using Arguments = QList<Variant>;

class Object {
public:
    virtual ~Object();
    // Sets property `name` (indexed by `arguments` when it takes an index).
    virtual void put(const QString& name, const Arguments& arguments, const Variant& value) = 0;
    virtual Variant get(const QString& name, const Arguments& arguments) = 0;
    virtual Variant call(const QString& name, const Arguments& arguments) = 0;

    void put(const QString& name, const Variant& value) { put(name, {}, value); }
    Variant get(const QString& name) { return get(name, {}); }
    Variant call(const QString& name) { return call(name, {}); }
    // get that must yield an object (WorkBooks, Cells(r, c), ActiveWorkBook).
    std::shared_ptr<Object> object(const QString& name, const Arguments& arguments = {});

protected:
    static Error unknownMember(const QString& objectName, const QString& member);
    static bool is(const QString& name, const char* member);
};

// Maps programmatic identifiers to the factories of the backends this build
// and platform offer. Identifiers are matched without regard to case.
class Registry {
public:
    using Factory = std::function<std::shared_ptr<Object>()>;

    // `early`, where the backend has one, starts the server without waiting
    // for it to answer (startEarly).
    void add(const QString& programmaticId, Factory factory, Factory early = {});
    bool has(const QString& programmaticId) const;
    // An application object; Error when nothing is registered under the
    // identifier or the backend cannot start its server. (LibreOffice's
    // backend keeps one server for the run: see documents/lo_backend.h.)
    std::shared_ptr<Object> create(const QString& programmaticId) const;
    // Starts the server ahead of its first use, so that a creation soon after
    // finds it up; the object keeps it. nullptr when nothing is registered,
    // the backend has no early start or the start fails: the creation then
    // says why.
    std::shared_ptr<Object> startEarly(const QString& programmaticId) const;

private:
    struct Entry {
        Factory create;
        Factory early;
    };
    std::map<QString, Entry> factories_;
};

// The registry of this build: "Excel.Application" is LibreOffice where the
// build has the LibreOffice backend, and absent otherwise.
Registry platformRegistry();

// Whether this build carries the LibreOffice backend.
bool hasLibreOfficeBackend();

} // namespace tpworm::automation
