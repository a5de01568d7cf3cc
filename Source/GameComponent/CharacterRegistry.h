#pragma once
// Every character in construction order, process-wide. The frame thread walks it to
// quit; launched-program threads use it to find out whether the character that
// launched a program still exists before handing it the completion.
#include <atomic>
#include <functional>
#include <string_view>
#include <mutex>
#include <vector>

#include "Source/GameComponent/CharacterCommand.h"

namespace Quenta::GameComponent {

class CharacterObject;

class CharacterRegistry {
public:
    static CharacterRegistry& instance();

    void add(CharacterObject& character);
    void remove(CharacterObject& character);

    bool contains(const CharacterObject* character) const;
    size_t size() const;

    // Calls fn for every character in registration order (under the registry lock, so
    // fn must not create or delete characters).
    void forEach(const std::function<void(CharacterObject&)>& fn) const;

    // True when every registered character is terminated (also when there are none).
    bool allTerminated() const;

    // The first character whose "ObjectID" equals `objectId`, or null.
    CharacterObject* findByObjectId(std::u16string_view objectId) const;
    // Every character, in registration order (a copy: safe to walk while characters
    // are made; not while they are deleted).
    std::vector<CharacterObject*> snapshot() const;

    // The main object, while it exists.
    CharacterObject* mainObject() const { return mainObject_.load(); }
    void setMainObject(CharacterObject* main) { mainObject_.store(main); }

    // Appends the command to the character's queue if the character is still
    // registered; the lock keeps it from being deleted meanwhile. False when it is gone.
    bool postCommandIfRegistered(const CharacterObject* character, CharacterCommand command);

private:
    mutable std::mutex lock_;
    std::vector<CharacterObject*> characters_;
    std::atomic<CharacterObject*> mainObject_{nullptr};
};

}  // namespace Quenta::GameComponent
