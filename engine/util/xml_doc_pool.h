// A thread-safe pool of reusable XML documents for the list-file routines, so a read or write does not
// build a document each time. The pool starts with a given number (1 .. 50) and grows on demand up to
// kMaxPooledDocuments; documents are never freed before the pool. A document handed out belongs to its
// caller alone until it is given back, and comes back empty.
#pragma once

#include <pugixml.hpp>

#include <memory>
#include <mutex>
#include <vector>

namespace engine {

constexpr int kMaxPooledDocuments = 50;

class TXmlDocPool {
public:
    // count is clamped to 1 .. kMaxPooledDocuments.
    explicit TXmlDocPool(int count);
    TXmlDocPool(const TXmlDocPool&) = delete;
    TXmlDocPool& operator=(const TXmlDocPool&) = delete;

    // Appends a new free document; false when the pool is full.
    bool AddDocument();
    // The first free document, a new one when all are taken and there is room, else nullptr.
    pugi::xml_document* GetDocument();
    // Gives a document back (emptied). A document that is not in the pool or not taken changes nothing.
    void ReleaseDocument(pugi::xml_document* doc);

    int Count() const;
    int InUseCount() const;

private:
    struct TXmlDocPoolEntry {
        std::unique_ptr<pugi::xml_document> Document;
        bool InUse = false;
        int Index = 0;
    };

    bool AddDocumentLocked();

    mutable std::recursive_mutex mutex_;
    std::vector<TXmlDocPoolEntry> entries_;
};

}  // namespace engine
