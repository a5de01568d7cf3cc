#include "Source/GameComponent/CharacterRegistry.h"

#include <algorithm>

#include "Source/GameComponent/CharacterObject.h"

namespace Quenta::GameComponent {

CharacterRegistry& CharacterRegistry::instance() {
    static CharacterRegistry registry;
    return registry;
}

void CharacterRegistry::add(CharacterObject& character) {
    std::lock_guard guard(lock_);
    characters_.push_back(&character);
}

void CharacterRegistry::remove(CharacterObject& character) {
    std::lock_guard guard(lock_);
    CharacterObject* self = &character;
    mainObject_.compare_exchange_strong(self, nullptr);
    characters_.erase(std::remove(characters_.begin(), characters_.end(), &character), characters_.end());
}

bool CharacterRegistry::contains(const CharacterObject* character) const {
    std::lock_guard guard(lock_);
    return std::find(characters_.begin(), characters_.end(), character) != characters_.end();
}

size_t CharacterRegistry::size() const {
    std::lock_guard guard(lock_);
    return characters_.size();
}

void CharacterRegistry::forEach(const std::function<void(CharacterObject&)>& fn) const {
    std::lock_guard guard(lock_);
    for (CharacterObject* c : characters_) fn(*c);
}

bool CharacterRegistry::allTerminated() const {
    std::lock_guard guard(lock_);
    return std::all_of(characters_.begin(), characters_.end(),
                       [](const CharacterObject* c) { return c->lifeState() == LifeState::Terminated; });
}

CharacterObject* CharacterRegistry::findByObjectId(std::u16string_view objectId) const {
    std::lock_guard guard(lock_);
    for (CharacterObject* c : characters_) {
        if (c->objectId() == objectId) return c;
    }
    return nullptr;
}

std::vector<CharacterObject*> CharacterRegistry::snapshot() const {
    std::lock_guard guard(lock_);
    return characters_;
}

bool CharacterRegistry::postCommandIfRegistered(const CharacterObject* character, CharacterCommand command) {
    std::lock_guard guard(lock_);
    auto it = std::find(characters_.begin(), characters_.end(), character);
    if (it == characters_.end()) return false;
    (*it)->postCommand(std::move(command));
    return true;
}

}  // namespace Quenta::GameComponent
