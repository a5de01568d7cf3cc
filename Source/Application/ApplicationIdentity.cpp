#include "Source/Application/ApplicationIdentity.h"

namespace Quenta::Application {

std::u16string ApplicationIdentity::mainWindowTitle() { return std::u16string(displayName) + u"_Main_Window"; }

std::u16string ApplicationIdentity::objectWindowTitle() { return std::u16string(displayName) + u"_Object_Window"; }

std::u16string ApplicationIdentity::mutexName() { return std::u16string(displayName) + u"_Mutex"; }

}  // namespace Quenta::Application
