#pragma once
// Where the program keeps the current user's settings.

#include <memory>

#include "settings/settings_profile.h"

namespace luma::app {

// The current user's profile of this program: named after the executable without its
// extension, so a renamed executable starts with a fresh profile. The registry on Windows, an
// INI file elsewhere.
std::unique_ptr<SettingsProfile> OpenUserProfile();

}  // namespace luma::app
