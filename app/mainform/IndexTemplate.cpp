#include "app/mainform/IndexTemplate.h"

#include <fstream>
#include <sstream>

#include "app/log/LogQueue.h"
#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"

namespace app {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

const std::string& BuiltInIndexHtml() {
    static const std::string page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
        "<html>\r\n<head>\r\n<script type=\"text/javascript\">\r\n"
        "function refreshIt() {\r\n"
        "  if (!document.images) return;\r\n"
        "  document.images['capimg'].src = '<imgsrc>' + '?' + Math.random();\r\n"
        "  setTimeout('refreshIt()', 1000);\r\n"
        "}\r\n</script>\r\n"
        "<style type=\"text/css\">\r\n"
        "img { color: #B40404; font: bold 40px Arial; display: block; width: 100%; height: auto; }\r\n"
        "</style>\r\n</head>\r\n"
        "<body bgcolor=\"#C1D1DA\" onload=\"setTimeout('refreshIt()', 1000)\">\r\n"
        "<img src=\"<imgsrc>\" name=\"capimg\" alt=\"!!! please wait !!!\">\r\n"
        "</body>\r\n</html>\r\n";
    return page;
}

TIndexPage LoadIndexTemplate(const std::string& htmlDir) {
    TIndexPage page;
    page.IndexHtmlFile = engine::IncludeTrailingPathDelimiter(htmlDir) + "index.html";
    std::string text;
    if (std::ifstream in(page.IndexHtmlFile, std::ios::binary); in) {
        std::ostringstream content;
        content << in.rdbuf();
        text = content.str();
    }
    if (text.empty()) {
        text = BuiltInIndexHtml();
        std::string error;
        if (!engine::WriteFileAtomic(page.IndexHtmlFile, text, &error))
            QueueLogEntry(*engine::LogList(), "index.html : " + page.IndexHtmlFile + " cannot be written - " + error, engine::kLogError);
    }
    page.IndexTemplate = SplitLines(text);
    return page;
}

}  // namespace app
