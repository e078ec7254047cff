#pragma once
// The start-up question about songs left in recovery files by editors that ended without
// a clean exit (see CRecoveryFile).
//
// Thread: the user-interface thread only.

class CAutosave;
class CDocument;
class IUserPrompts;

// Offers each such song in turn, titled "復元". Yes restores it into an untitled window
// with the undo steps written beside it (none when they are damaged), writes it at once as this
// session's own recovery file and removes the old one; No keeps it unless the user then discards
// it. A damaged file is refused with a message and may be discarded the same way. Returns whether a
// song was restored.
bool OfferRecovery(IUserPrompts& prompts, CDocument& document, CAutosave& autosave);
