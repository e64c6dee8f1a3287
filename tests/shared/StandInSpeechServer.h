// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <string>
#include <thread>

// A stand-in speech server that the speech clients made after it connect to (SPEECHD_ADDRESS). It
// answers every command as done and keeps each text spoken with the priority set for it.
class StandInSpeechServer {
public:
    StandInSpeechServer()
    {
        const QByteArray path = folder_.filePath(QStringLiteral("speechd.sock")).toLocal8Bit();
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        listening_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::bind(listening_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listening_, 1);
        thread_ = std::thread([this] { serve(); });
    }
    ~StandInSpeechServer()
    {
        ::shutdown(listening_, SHUT_RDWR);
        ::close(listening_);
        thread_.join();
    }

    QStringList heard() const
    {
        const std::lock_guard lock(mutex_);
        return heard_;
    }

private:
    void serve()
    {
        const int client = ::accept(listening_, nullptr, nullptr);
        std::string buffer, priority, text;
        bool receiving = false;
        char chunk[256];
        for (ssize_t read; client >= 0 && (read = ::recv(client, chunk, sizeof chunk, 0)) > 0;) {
            buffer.append(chunk, static_cast<std::size_t>(read));
            for (std::size_t end; (end = buffer.find("\r\n")) != std::string::npos; buffer.erase(0, end + 2)) {
                const std::string line = buffer.substr(0, end);
                if (receiving && line != ".") {
                    text += line;
                    continue;
                }
                if (receiving) {
                    const std::lock_guard lock(mutex_);
                    heard_ << QString::fromStdString(priority) + u':' + QString::fromUtf8(text);
                    text.clear();
                }
                // Commands are read without regard to case.
                const QByteArray command = QByteArray::fromStdString(line).toUpper();
                if (command.startsWith("SET SELF PRIORITY "))
                    priority = command.mid(18).toLower().toStdString();
                const char* answer = receiving ? "225-1\r\n225 OK MESSAGE QUEUED\r\n"
                    : command == "SPEAK"       ? "230 OK RECEIVING DATA\r\n"
                                               : "200 OK\r\n";
                receiving = !receiving && command == "SPEAK";
                ::send(client, answer, std::strlen(answer), MSG_NOSIGNAL);
            }
        }
        if (client >= 0)
            ::close(client);
    }

    QTemporaryDir folder_;
    int listening_;
    std::thread thread_;
    mutable std::mutex mutex_;
    QStringList heard_;
};
