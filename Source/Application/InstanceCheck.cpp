#include "Source/Application/InstanceCheck.h"

#include <algorithm>
#include <string>

#include "Source/Application/ApplicationIdentity.h"
#include "Source/Application/ApplicationMessageBox.h"
#include "Source/Application/CharacterList.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/Window.h"
#include "framework/Threading/Mutex.h"

namespace Quenta::Application {

namespace {

constexpr std::u16string_view caption = u"エラー";

InstanceCheckResult checkLocked(const std::filesystem::path& dataDirectory) {
    if (CharacterList::read(dataDirectory).empty()) {
        ApplicationMessageBox::show(u"データが見つかりません。", caption, Arbor::Platform::MB_OK);
        return InstanceCheckResult::NoData;
    }
    const std::vector<std::u16string> titles = Arbor::Platform::windowService().topLevelTitles(1024);
    // This copy's own main window already exists, so one is expected.
    const std::u16string mainTitle = ApplicationIdentity::mainWindowTitle();
    if (std::count(titles.begin(), titles.end(), mainTitle) > 1) {
        ApplicationMessageBox::show(u"多重起動はできません", caption, Arbor::Platform::MB_OK);
        return InstanceCheckResult::AlreadyRunning;
    }
    const std::u16string objectTitle = ApplicationIdentity::objectWindowTitle();
    if (std::count(titles.begin(), titles.end(), objectTitle) > InstanceCheck::maxCharacterWindows) {
        ApplicationMessageBox::show(u"キャラクターの起動数は" + std::u16string(u"255") + u"体までです", caption,
                                    Arbor::Platform::MB_OK);
        return InstanceCheckResult::TooManyCharacters;
    }
    return InstanceCheckResult::Passed;
}

}  // namespace

InstanceCheckResult InstanceCheck::run(const std::filesystem::path& dataDirectory) {
    Arbor::Threading::Mutex mutex;
    // Whether it already existed does not matter: the wait below serialises the copies.
    // A mutex that cannot be made leaves the check unserialised rather than refusing
    // to start (the window count still catches a copy that is already running).
    if (mutex.create(ApplicationIdentity::mutexName()) != Arbor::Threading::AbstractMutex::InvalidHandle) {
        mutex.lock();
    }
    const InstanceCheckResult result = checkLocked(dataDirectory);
    mutex.release();
    return result;
}

}  // namespace Quenta::Application
