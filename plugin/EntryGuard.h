#pragma once

// Held by an entry door (processImage, ENTRYPOINT1) for its whole call. Both
// doors share it: a call arriving while a dialog or render of this plug-in is
// running (from a host callback, a message pumped by the preview, or another
// thread) is turned away instead of re-entering.
class EntryGuard
{
public:
    EntryGuard();
    ~EntryGuard();
    EntryGuard(const EntryGuard&) = delete;
    EntryGuard& operator=(const EntryGuard&) = delete;

    // False when another call holds the plug-in.
    bool entered() const { return entered_; }

private:
    bool entered_;
};
