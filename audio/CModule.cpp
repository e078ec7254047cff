#include "audio/CModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace {

#ifdef TSQ_INSTALLED_MODULES
const QString kInstalledModules = QStringLiteral(TSQ_INSTALLED_MODULES);
#else
const QString kInstalledModules = QStringLiteral("../lib/tesselaphon");
#endif

void* Open(const QByteArray& name, CModule::Unload unload) {
    int flags = RTLD_NOW | RTLD_LOCAL;
    if (unload == CModule::Unload::Never)
        flags |= RTLD_NODELETE;
    return ::dlopen(name.constData(), flags);
}

} // namespace

std::unique_ptr<CModule> CModule::Load(const QString& directory, const QString& fileName,
                                       Unload unload) {
    if (fileName.isEmpty())
        return nullptr;
    void* handle = nullptr;
    if (!directory.isEmpty()) {
        for (const QString& folder : {directory, QDir(directory).filePath(kInstalledModules)}) {
            const QString path = QDir(folder).filePath(fileName);
            if (QFileInfo(path).isFile())
                handle = Open(QFile::encodeName(path), unload);
            if (handle != nullptr)
                break;
        }
    }
    // A bare name (no slash) asks the dynamic linker to search its usual folders.
    if (handle == nullptr && !fileName.contains(QLatin1Char('/')))
        handle = Open(QFile::encodeName(fileName), unload);
    if (handle == nullptr)
        return nullptr;
    return std::unique_ptr<CModule>(new CModule(handle));
}

CModule::~CModule() {
    ::dlclose(m_handle);
}

void* CModule::Resolve(const char* name) const {
    return ::dlsym(m_handle, name);
}

QString CModule::ProgramDirectory() {
    const QFileInfo program(QStringLiteral("/proc/self/exe"));
    const QString target = program.canonicalFilePath();
    return target.isEmpty() ? QString() : QFileInfo(target).absolutePath();
}
