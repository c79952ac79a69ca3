#pragma once
// Taking a journaled batch back: every page gets the bytes it had before the
// batch, through the same safe replace as a save, unless it changed since.
#include <string>
#include <vector>

#include "edits/journal.h"

namespace veskaron::edits {

enum class UndoAction {
    Restore,        // the page holds what the batch wrote: it gets its old bytes back
    AlreadyBefore,  // the page holds its old bytes (the batch never wrote it)
    Changed,        // the page changed since the batch (or is gone): not touched
};

struct UndoItem {
    const JournalEntry* entry = nullptr;  // in the batch the plan was made from
    UndoAction action = UndoAction::Changed;
    std::string current;  // the page's bytes now
    std::string reason;   // why a Changed page is left alone, naming it
};

// What an undo of the batch would do, page by page; the disk is not touched.
std::vector<UndoItem> PlanUndo(const BatchContents& batch);

// A unified diff of two versions of a page, each side shown in its charset.
std::string PageDiff(const std::string& path, const std::string& from, const std::string& to);

// The unified diff from what the page holds to what the undo gives it,
// each side shown in the page's charset.
std::string ReverseDiff(const UndoItem& item);

struct UndoResult {
    std::vector<std::string> restored;  // paths
    std::vector<std::string> skipped;   // pages left alone, each named with why
    std::vector<std::string> failed;    // pages that could not be written, each with the cause
    std::string journalError;           // the undo's own batch could not be journaled: nothing written
    int batch = 0;                      // the undo's own batch in the journal
};

// Restores the pages of the plan. The undo is a batch of its own in the
// journal (so it can be taken back too); each page is checked again right
// before it is replaced.
UndoResult CommitUndo(const std::vector<UndoItem>& plan, const std::string& folder, const std::string& origin,
                      const JournalOptions& options);

}  // namespace veskaron::edits
