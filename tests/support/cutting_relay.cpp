#include "support/cutting_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace velmora::test {

namespace {

// The simple query "COMMIT" and its command tag, as the protocol spells both.
bool HoldsCommit(const std::string& bytes) { return bytes.find(std::string("COMMIT\0", 7)) != std::string::npos; }

bool SendAll(int fd, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

CuttingRelay::CuttingRelay(const std::string& serverSource) {
    const std::size_t colon = serverSource.rfind(':');
    m_socket = serverSource.substr(0, colon) + "/.s.PGSQL." + serverSource.substr(colon + 1);
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("the relay cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { accept(); });
}

CuttingRelay::~CuttingRelay() {
    m_stop = true;
    m_acceptor.join();
    SetUnreachable(true);
    for (std::thread& t : m_relays) t.join();
    ::close(m_listener);
}

std::string CuttingRelay::dataSource() const { return "127.0.0.1:" + std::to_string(m_port); }

void CuttingRelay::SetUnreachable(bool unreachable) {
    m_unreachable = unreachable;
    if (!unreachable) return;
    std::lock_guard lock(m_mutex);
    for (int fd : m_open) ::shutdown(fd, SHUT_RDWR);
}

void CuttingRelay::accept() {
    while (!m_stop) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0) continue;
        if (m_unreachable) {
            ::close(client);
            continue;
        }
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un target{};
        target.sun_family = AF_UNIX;
        std::snprintf(target.sun_path, sizeof target.sun_path, "%s", m_socket.c_str());
        if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
            ::close(client);
            if (server >= 0) ::close(server);
            continue;
        }
        std::lock_guard lock(m_mutex);
        m_open.push_back(client);
        m_open.push_back(server);
        m_relays.emplace_back([this, client, server] { relay(client, server); });
    }
}

void CuttingRelay::relay(int client, int server) {
    std::string buffer(1 << 16, '\0');
    auto received = [&](int fd) -> std::string {
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        return n > 0 ? buffer.substr(0, static_cast<std::size_t>(n)) : std::string();
    };
    for (bool open = true; open && !m_stop;) {
        pollfd both[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (::poll(both, 2, 50) <= 0) continue;
        if (both[0].revents) {
            const std::string up = received(client);
            const Cut cut = m_cut;
            if (!up.empty() && cut != Cut::None && HoldsCommit(up)) {
                if (m_downAfterCut) m_unreachable = true;
                m_cut = Cut::None;
                if (cut == Cut::AfterCommit && SendAll(server, up)) {
                    // The server's answer to the COMMIT is read and dropped.
                    std::string down;
                    for (int i = 0; i < 100 && !HoldsCommit(down); ++i) {
                        pollfd answer{server, POLLIN, 0};
                        if (::poll(&answer, 1, 50) > 0) {
                            const std::string more = received(server);
                            if (more.empty()) break;
                            down += more;
                        }
                    }
                }
                break;
            }
            open = !up.empty() && SendAll(server, up);
        }
        if (open && both[1].revents) {
            const std::string down = received(server);
            open = !down.empty() && SendAll(client, down);
        }
    }
    std::lock_guard lock(m_mutex);
    ::shutdown(client, SHUT_RDWR);
    ::shutdown(server, SHUT_RDWR);
    ::close(client);
    ::close(server);
    m_open.erase(std::remove_if(m_open.begin(), m_open.end(), [&](int fd) { return fd == client || fd == server; }),
                 m_open.end());
}

}  // namespace velmora::test
