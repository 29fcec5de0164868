#include "engine/util/xml_doc_pool.h"

#include <algorithm>

namespace engine {

TXmlDocPool::TXmlDocPool(int count) {
    std::lock_guard lock(mutex_);
    for (int i = 0, n = std::clamp(count, 1, kMaxPooledDocuments); i < n; ++i) AddDocumentLocked();
}

bool TXmlDocPool::AddDocumentLocked() {
    if (entries_.size() >= static_cast<size_t>(kMaxPooledDocuments)) return false;
    TXmlDocPoolEntry entry;
    entry.Document = std::make_unique<pugi::xml_document>();
    entry.Index = static_cast<int>(entries_.size());
    entries_.push_back(std::move(entry));
    return true;
}

bool TXmlDocPool::AddDocument() {
    std::lock_guard lock(mutex_);
    return AddDocumentLocked();
}

pugi::xml_document* TXmlDocPool::GetDocument() {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (!entry.InUse) {
            entry.InUse = true;
            return entry.Document.get();
        }
    }
    if (!AddDocumentLocked()) return nullptr;
    entries_.back().InUse = true;
    return entries_.back().Document.get();
}

void TXmlDocPool::ReleaseDocument(pugi::xml_document* doc) {
    if (!doc) return;
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (entry.InUse && entry.Document.get() == doc) {
            entry.InUse = false;
            entry.Document->reset();
            return;
        }
    }
}

int TXmlDocPool::Count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

int TXmlDocPool::InUseCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return e.InUse; }));
}

}  // namespace engine
