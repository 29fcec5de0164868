// What a share needs of the web server whose root folder receives its files, and the lookup the
// capture.xml reader uses to bind a share to a web server again. The web-server entries of the main
// window implement both; tests use small fakes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace engine {

class IShareHttpServer {
public:
    virtual ~IShareHttpServer() = default;
    virtual int32_t IpAddr() const = 0;      // the shared IPv4 integer
    virtual int32_t Port() const = 0;
    virtual std::string Root() const = 0;    // the folder served, with a trailing "/"
    // The server's own index.html copy (may be empty or name no file yet) and the program's default
    // page template file that stands in when it does not exist.
    virtual std::string IndexHtml() const = 0;
    virtual std::string DefaultIndexFile() const = 0;
    // Extra files a capture job copies into every share folder of this server when it starts.
    virtual std::vector<std::string> FileList() const = 0;
};

class IShareHttpServerList {
public:
    virtual ~IShareHttpServerList() = default;
    // The first web server listening on ipAddr:port, or none.
    virtual std::shared_ptr<IShareHttpServer> Find(int32_t ipAddr, int32_t port) const = 0;
    // The first web server of the list, or none when the list is empty.
    virtual std::shared_ptr<IShareHttpServer> First() const = 0;
};

}  // namespace engine
