#include "platform/process/ActivationServer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include "platform/process/ActivationProtocol.h"

namespace platform {

TActivationServer::TActivationServer(std::function<void()> onActivate)
    : onActivate_(std::make_shared<std::function<void()>>(std::move(onActivate))) {}

TActivationServer::~TActivationServer() {
    if (server_) server_->close();
}

bool TActivationServer::Listen(const std::string& serverName, std::string* error) {
    server_ = std::make_unique<QLocalServer>();
    // Only this user's processes may connect: a second start by another user cannot reach (and could
    // not bring forward) this user's window.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = QString::fromStdString(serverName);
    QLocalServer::removeServer(name);
    if (!server_->listen(name)) {
        if (error) *error = server_->errorString().toStdString();
        server_.reset();
        return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { AcceptPending(); });
    return true;
}

bool TActivationServer::Listening() const { return server_ && server_->isListening(); }

void TActivationServer::AcceptPending() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // The socket is a child of the server: it goes with the server at the latest.
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kActivationReadTimeoutMs, socket, [socket] { socket->abort(); });
        std::weak_ptr<std::function<void()>> weakHandler = onActivate_;
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, weakHandler] {
            if (socket->bytesAvailable() > kMaxActivationRequestBytes) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine()) return;
            const QByteArray line = socket->readLine(kMaxActivationRequestBytes);
            if (line != kActivationRequest) {
                socket->abort();
                return;
            }
            socket->write(kActivationAnswer);
            socket->flush();
            // Run after this slot: the handler may end the server, and with it this socket.
            QMetaObject::invokeMethod(
                socket->parent(),
                [weakHandler] {
                    if (auto handler = weakHandler.lock(); handler && *handler) (*handler)();
                },
                Qt::QueuedConnection);
        });
    }
}

}  // namespace platform
