#pragma once
// An outside module (shared library) loaded at run time by file name: from a given folder
// first (the program's own), then from the installed module folder relative to it, then
// through the dynamic linker's usual search (LD_LIBRARY_PATH, the system's folders). The
// module is unloaded when the object is destroyed.
//
// A missing module is no error: Load returns null and the feature it serves is off.

#include <QString>

#include <memory>

class CModule {
public:
    enum class Unload { OnDestroy, Never };

    // `never` keeps the library mapped after destruction: for modules whose static state
    // (Qt objects, registered event types) must not be torn down and set up again.
    static std::unique_ptr<CModule> Load(const QString& directory, const QString& fileName,
                                         Unload unload = Unload::OnDestroy);
    ~CModule();
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    // The address of an exported entry point, or null.
    template <typename F> F Entry(const char* name) const {
        return reinterpret_cast<F>(Resolve(name));
    }

    // The folder of the running program (from /proc/self/exe, links resolved); empty when
    // it cannot be told.
    static QString ProgramDirectory();

private:
    explicit CModule(void* handle) : m_handle(handle) {}
    void* Resolve(const char* name) const;

    void* m_handle;
};
