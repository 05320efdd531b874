#include "app/user_profile.h"

#include <QString>

#include "platform/process.h"
#ifdef _WIN32
#include "settings/registry_profile.h"
#else
#include "settings/qt/ini_profile.h"
#endif

namespace luma::app {

std::unique_ptr<SettingsProfile> OpenUserProfile()
{
#ifdef _WIN32
    return std::make_unique<RegistryProfile>(RegistryProfile::ApplicationKeyPath(ExecutableBaseName()));
#else
    return std::make_unique<IniProfile>(IniProfile::UserProfilePath(QString::fromStdString(ExecutableBaseName())));
#endif
}

}  // namespace luma::app
