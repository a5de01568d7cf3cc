#pragma once
// What the scene built-ins (Show, SetX, PostEvent, Dock, ...) ask of a character on
// the desktop. A ScriptOwner that is a scene character answers sceneCharacter() with
// itself; parsers of tools, tests and loaders have none, and those built-ins then
// return their failure value. Kept abstract so the interpreter depends on nothing
// above it.
#include <functional>
#include <string>
#include <vector>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class ScriptOwner;

class SceneCharacter {
public:
    virtual ~SceneCharacter() = default;

    // --- the registry of characters (every character, the main object included) ----
    // Calls fn for every registered character in registration order.
    virtual void forEachCharacter(const std::function<void(SceneCharacter&)>& fn) = 0;
    // The first registered character with that "ObjectID", or null.
    virtual SceneCharacter* findCharacter(std::u16string_view objectId) = 0;

    virtual ScriptOwner& scriptOwner() = 0;
    virtual std::u16string groupId() const = 0;
    virtual std::u16string objectIdText() const = 0;

    // A command: a call line "Name(literal, ...)" (see ScriptCommand.h). Appended to
    // the command queue (any thread); it runs at the character's next input phase.
    virtual void postCommand(TokenLine command) = 0;
    // PostEvent: an order request with priority 8.
    virtual void postEvent(std::u16string orderName, int dragMode, std::u16string soundName, TokenBlock code) = 0;

    // "ObjectID" of the parent when it is a character, else empty.
    virtual std::u16string parentObjectId() const = 0;
    // The current order's FuncName, or empty.
    virtual std::u16string currentOrderName() const = 0;
    // Docks to the character with that ObjectID (true), or to the desktop (false).
    virtual bool dockTo(std::u16string_view objectId) = 0;

    virtual void setNoActivate(bool on) = 0;
    virtual bool isShowing() const = 0;
    virtual void showCharacter() = 0;
    virtual void hideCharacter() = 0;
    virtual void setBaseX(double x) = 0;
    virtual void setBaseY(double y) = 0;
    virtual void setBasePosition(double x, double y) = 0;
    virtual double basePosX() const = 0;  // the current order's "BasePosX"
    virtual double basePosY() const = 0;
    virtual double scale() const = 0;
    virtual void setScale(double s) = 0;
    virtual double alpha() const = 0;
    virtual void setAlpha(double a) = 0;
    virtual double zOrder() const = 0;
    virtual void setZOrder(double z) = 0;
    virtual int frameNumber() const = 0;
    virtual void setFrameNumber(int n) = 0;
    virtual void backIntoDesktop() = 0;
    // Publishes the named object "box" anew from the parent's size (CreateBox).
    virtual void publishBox() = 0;
    virtual bool areSoundsMuted() const = 0;
    virtual void muteSounds() = 0;
    virtual void unmuteSounds() = 0;
    // Plays a sound file of the character once; false when it cannot be played.
    virtual bool playOneShot(std::u16string_view soundName) = 0;
    virtual bool isTopmost() const = 0;
    virtual void setTopmost() = 0;
    virtual void clearTopmost() = 0;
    // Loads an image file of the character into its resource cache.
    virtual bool loadImage(std::u16string_view name) = 0;
    // Loads a font file of the character (for the text layers); false when missing.
    virtual bool loadFontFile(std::u16string_view name) = 0;
    // RotateImage: when the named object of the current order is an image layer.
    virtual bool rotateImage(std::u16string_view layerName, double centreX, double centreY, double angle) = 0;
};

}  // namespace Quenta::Interpreter
