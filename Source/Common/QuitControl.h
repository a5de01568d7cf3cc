#pragma once
// What the frame loop needs of the application's life: whether quitting has begun,
// how to begin it (the frame limit), and how to end the user-interface thread's
// message loop once every character has terminated. The application's state answers
// it; keeping it abstract lets the frame loop sit below the application.
namespace Quenta::Common {

class QuitControl {
public:
    virtual ~QuitControl() = default;

    virtual bool isQuitting() const = 0;
    // Only the first call does anything.
    virtual void beginQuitting() = 0;
    virtual void stopMessageLoop() = 0;
    // Records the system action to carry out after the program has ended (1 shut
    // down, 2 reboot; other values record nothing) and begins quitting.
    virtual void requestSystemAction(int action) {
        (void)action;
        beginQuitting();
    }
};

}  // namespace Quenta::Common
