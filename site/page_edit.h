#pragma once
// The one place where "Member=VALUE" edits of a page become its new bytes,
// and where those bytes are written: planned first (for a review or a dry
// run), committed later only if the page still holds what the plan was made
// from.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/loader.h"
#include "engine/save.h"

namespace veskaron::site {

enum class EditStatus {
    Changes,    // newBytes differ from the page's
    Unchanged,  // the edits come out as the bytes the page has
    FileError,  // the page could not be read
    Failed,     // a failed conversion, a wrong value, a charset no save can write
    Refused,    // the writer refused the fields (no <head>, an unclosed title, ...)
};

// How the catalogue META block is treated.
enum class BlockRewrite {
    // Only when the edited fields make another block than the page's fields,
    // and then, where the page holds each changed title or name tag once, by
    // writing those tags in place instead.
    WhenChanged,
    Always,       // every time (the command line's --set: a page gets the block as it writes it)
};

struct PlanOptions {
    BlockRewrite block = BlockRewrite::WhenChanged;
    bool diff = true;  // fill PlannedEdit::diff for pages with changes
};

struct PlannedEdit {
    std::string path;
    EditStatus status = EditStatus::Failed;
    std::string error;            // page and cause (not for Changes/Unchanged)
    std::string cause;            // the same without the page
    std::string assignment;       // the assignment that failed, when one did
    std::vector<LoadWarning> warnings;  // the load's
    std::string oldBytes, newBytes;
    std::string diff;             // unified diff, UTF-8, exactly as --dry-run prints it
    std::size_t references = 0;   // characters written as &#N;
};

// Loads the page as a fresh window would, applies the assignments (texts in
// UTF-8) and makes the bytes a save would write; the disk is not touched. With
// save.asEdited the page's text is kept as it stands. The edits of the head
// tags beside the catalogue are made in place, and only where they changed.
PlannedEdit PlanEdit(const std::string& path, const std::vector<std::string>& assignments,
                     const LoadOptions& load, const SaveOptions& save, const PlanOptions& plan = {});

struct CommitResult {
    bool written = false;
    std::string error;    // names the page
    std::string warning;  // written, but the backup could not be made
    std::size_t references = 0;
};

// Re-reads the page; refuses it, naming it, when its bytes are not
// plan.oldBytes any more; otherwise writes plan.newBytes as a save does
// (backup per `save`, atomic replace, owner and permissions kept). Plans of
// status Changes and Unchanged can be committed; the caller chooses which
// (a page without changes needs no write).
CommitResult CommitEdit(const PlannedEdit& plan, const SaveOptions& save);

// The refusal text of a page that changed on disk after it was planned.
std::string ChangedOnDiskError(const std::string& path);

}  // namespace veskaron::site
