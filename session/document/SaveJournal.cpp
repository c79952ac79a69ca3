#include "session/document/SaveJournal.h"

#include "engine/file_io.h"

namespace veskaron::session {

void PageSaveJournal::Attach(SaveOptions& options) {
    options.beforeReplace = [this](const std::string& path, std::string_view bytes) -> std::string {
        const FileRead before = ReadWholeFile(path);
        // A page that is not there has nothing to be put back.
        if (!before.ok) return {};
        std::string error;
        batch_ = edits::JournalBatch::Begin(edits::JournalFolderPath(), origin_, before.bytes.size() + bytes.size(),
                                            edits::JournalOptionsOfSettings(), error);
        const edits::PageBytes page{path, before.bytes, bytes};
        std::size_t first = 0;
        if (batch_ && !batch_->Record({&page, 1}, first, error)) {
            batch_->Finish();
            batch_.reset();
        }
        return error;
    };
}

void PageSaveJournal::Done(bool written) {
    if (!batch_) return;
    if (written) batch_->Written(0);
    batch_->Finish();
    batch_.reset();
}

PlansJournal JournalPlans(const std::vector<site::PlannedEdit>& plans, const std::string& origin) {
    PlansJournal out;
    std::vector<edits::PageBytes> pages;
    std::uint64_t bytes = 0;
    for (const site::PlannedEdit& p : plans) {
        pages.push_back({p.path, p.oldBytes, p.newBytes});
        bytes += p.oldBytes.size() + p.newBytes.size();
    }
    std::unique_ptr<edits::JournalBatch> batch =
        edits::JournalBatch::Begin(edits::JournalFolderPath(), origin, bytes / 2, edits::JournalOptionsOfSettings(), out.error);
    if (!batch) return out;
    if (!batch->Record(pages, out.first, out.error)) {
        batch->Finish();
        return out;
    }
    out.batch = std::move(batch);
    return out;
}

}  // namespace veskaron::session
