#pragma once
// Where the scanner reports interfaces coming and going. The main window
// implements it by running the handler on the user-interface thread while the
// scanner waits, so a handler sees the slot list exactly as the scanner left it.

class IDeviceEventSink {
public:
    virtual ~IDeviceEventSink() = default;
    // The slot is now connected and holds its path. Runs on the scanner thread,
    // which waits for the return.
    virtual void OnInterfaceAttached(int slot) = 0;
    // The slot is free again. Runs on the scanner thread, which waits.
    virtual void OnInterfaceDetached(int slot) = 0;
    // Once per scanner life, after its first enumeration pass, also when that
    // pass failed. Must not wait for the user-interface thread: it is a notice,
    // not a question.
    virtual void OnFirstPassComplete() = 0;
};
