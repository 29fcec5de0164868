#include "app/lists/list_file_store.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <sstream>
#include <string_view>

#include "engine/settings/log_list.h"
#include "engine/util/atomic_file.h"
#include "platform/util/whole_file.h"

namespace fs = std::filesystem;

namespace app {
namespace {

constexpr int kMaxKeptAsideNames = 100;  // numbered names tried within one second
// A value of blanks only ("<sName>   </sName>") is a value: keep text that is an element's only child.
// Blanks between elements (the indentation) have siblings and still go.
constexpr unsigned kListParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;
constexpr size_t kMaxLeftOutLines = 10;    // log lines about what one file's reading left out

// Gives a document back to the pool however the reading or writing ends.
class TPooledDocument {
public:
    explicit TPooledDocument(engine::TXmlDocPool* pool) : pool_(pool), doc_(pool ? pool->GetDocument() : nullptr) {}
    ~TPooledDocument() {
        if (doc_) pool_->ReleaseDocument(doc_);
    }
    TPooledDocument(const TPooledDocument&) = delete;
    TPooledDocument& operator=(const TPooledDocument&) = delete;
    pugi::xml_document* get() const { return doc_; }

private:
    engine::TXmlDocPool* pool_;
    pugi::xml_document* doc_;
};

std::string FileTag(const std::string& path) { return "[" + fs::path(path).filename().string() + "] "; }

std::string_view LocalName(std::string_view name) {
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string TimeStamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Renames the file to a free name with the damaged suffix; that name, or empty when it stayed.
std::string KeepAside(const std::string& path) {
    const std::string base = path + kDamagedListSuffix + TimeStamp();
    for (int n = 0; n < kMaxKeptAsideNames; ++n) {
        const std::string name = n == 0 ? base : base + "-" + std::to_string(n);
        std::error_code ec;
        if (fs::exists(name, ec)) continue;
        fs::rename(path, name, ec);
        return ec ? std::string() : name;
    }
    return {};
}

void ReportKeptAside(const std::string& path, const std::string& why) {
    const std::string kept = KeepAside(path);
    if (kept.empty())
        LogListFileError(FileTag(path) + why + "; the file could not be kept aside");
    else
        LogListFileError(FileTag(path) + why + "; the file is kept as " + fs::path(kept).filename().string());
}

// In a document whose parsing stopped at errorOffset: the entry is whole when something follows it or
// its end tag lies before the damage.
bool IsWholeEntry(pugi::xml_node entry, const std::string& bytes, ptrdiff_t errorOffset) {
    if (entry.next_sibling()) return true;
    const ptrdiff_t start = entry.offset_debug();
    if (start < 0 || start >= errorOffset) return false;
    const std::string endTag = std::string("</") + entry.name();
    const size_t found = bytes.find(endTag, static_cast<size_t>(start));
    return found != std::string::npos && static_cast<ptrdiff_t>(found) < errorOffset;
}

size_t CountEntriesFrom(pugi::xml_node entry, const char* entryName) {
    size_t count = 0;
    for (; entry; entry = entry.next_sibling(entryName)) ++count;
    return count;
}

// Logs what the limits left out (the first few lines, then how many more) and keeps the file aside
// unless that happened already; false when it was kept aside here.
bool ReportLeftOut(const std::string& path, const std::vector<std::string>& leftOut, bool keptAside) {
    if (leftOut.empty()) return true;
    for (size_t i = 0; i < leftOut.size() && i < kMaxLeftOutLines; ++i) LogListFileError(FileTag(path) + leftOut[i]);
    if (leftOut.size() > kMaxLeftOutLines)
        LogListFileError(FileTag(path) + std::to_string(leftOut.size() - kMaxLeftOutLines) + " more left out");
    if (keptAside) return true;
    ReportKeptAside(path, "the list file holds more than is read");
    return false;
}

}  // namespace

void LogListFileError(const std::string& text) {
    engine::LogList()->Append(engine::TLogListEntry{text, std::chrono::system_clock::now(), engine::kLogError});
}

bool LoadListFile(engine::TXmlDocPool* pool, const std::string& path, const TListFileFormat& format,
                  const std::function<void(pugi::xml_node entry)>& readEntry) {
    TPooledDocument doc(pool);
    if (!doc.get()) {
        LogListFileError(FileTag(path) + "no free list document, the file is not read");
        return true;
    }
    std::error_code ec;
    if (!fs::exists(path, ec)) return true;

    std::string bytes, why;
    int error = 0;
    if (const platform::WholeFileRead read = platform::ReadWholeFile(path, bytes, &error);
        read != platform::WholeFileRead::Ok) {
        why = read == platform::WholeFileRead::CannotRead ? "cannot be read to its end"
                                                          : std::string("cannot be read: ") + std::strerror(error);
        ReportKeptAside(path, "the list file " + why);
        return false;
    }
    const pugi::xml_parse_result parsed = doc.get()->load_buffer(bytes.data(), bytes.size(), kListParseOptions);
    const pugi::xml_node root = doc.get()->document_element();
    const bool rightRoot = root && LocalName(root.name()) == format.RootName;
    if (parsed && !rightRoot) {
        ReportKeptAside(path, std::string("the list file's root element is not ") + format.RootName);
        return false;
    }
    if (!parsed)
        ReportKeptAside(path, std::string("the list file is damaged (") + parsed.description() + " at byte " +
                                  std::to_string(parsed.offset) + ")");
    if (!rightRoot) return false;

    TListFileLimits limits(format.NestedLists);
    size_t read = 0;
    for (pugi::xml_node entry = root.first_child(); entry; entry = entry.next_sibling()) {
        if (entry.type() != pugi::node_element || std::string_view(entry.name()) != format.EntryName) continue;
        if (!parsed && !IsWholeEntry(entry, bytes, parsed.offset)) break;
        if (read == format.MaxEntries) {
            limits.EntriesLeftOut(CountEntriesFrom(entry, format.EntryName), format.MaxEntries);
            break;
        }
        limits.Trim(entry, read + 1);
        try {
            readEntry(entry);
            ++read;
        } catch (const std::exception& e) {
            LogListFileError(FileTag(path) + "reading stopped at entry " + std::to_string(read + 1) + ": " + e.what());
            break;
        }
    }
    return ReportLeftOut(path, limits.LeftOut(), /*keptAside=*/!parsed) && parsed;
}

bool SaveListFile(engine::TXmlDocPool* pool, const std::string& path, const TListFileFormat& format,
                  const std::function<void(pugi::xml_node root)>& writeEntries) {
    try {
        TPooledDocument doc(pool);
        if (!doc.get()) {
            LogListFileError(FileTag(path) + "no free list document, the file is not written");
            return false;
        }
        pugi::xml_node decl = doc.get()->append_child(pugi::node_declaration);
        decl.append_attribute("version") = "1.0";
        decl.append_attribute("encoding") = "UTF-8";
        writeEntries(doc.get()->append_child(format.RootName));
        std::ostringstream out;
        doc.get()->save(out, "  ", pugi::format_default, pugi::encoding_utf8);
        // Two of the lists hold passwords: every list file is the owner's alone.
        std::string error;
        if (!engine::WriteUserFileAtomic(path, out.str(), &error, engine::kOwnerOnlyFileMode)) {
            LogListFileError(FileTag(path) + "not written: " + error);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        LogListFileError(FileTag(path) + "not written: " + e.what());
        return false;
    }
}

}  // namespace app
