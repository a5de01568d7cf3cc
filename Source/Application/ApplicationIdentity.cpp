#include "Source/Application/ApplicationIdentity.h"

#include "framework/Secure/ResourceCache.h"

namespace Quenta::Application {

// Characters' packages and value stores are locked with the display name; the
// password itself is kept with the package code, where every layer can reach it.
static_assert(ApplicationIdentity::displayName == Arbor::Secure::kPackagePassword,
              "the package password must stay the display name");

std::u16string ApplicationIdentity::mainWindowTitle() { return std::u16string(displayName) + u"_Main_Window"; }

std::u16string ApplicationIdentity::objectWindowTitle() { return std::u16string(displayName) + u"_Object_Window"; }

std::u16string ApplicationIdentity::mutexName() { return std::u16string(displayName) + u"_Mutex"; }

}  // namespace Quenta::Application
