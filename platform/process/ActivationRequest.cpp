#include "platform/process/ActivationRequest.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

#include "platform/process/ActivationProtocol.h"

namespace platform {

bool RequestActivation(const std::string& serverName, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(serverName));
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    socket.write(kActivationRequest);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < kMaxActivationRequestBytes) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
        answer += socket.readAll();
    }
    socket.abort();
    return answer.startsWith(kActivationAnswer);
}

}  // namespace platform
