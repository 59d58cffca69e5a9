#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

// A loopback TCP relay to a PostgreSQL server's unix socket that can lose a
// connection at its next COMMIT, as a network does: before the server gets
// it (nothing stored), or after the server has answered it (stored, the
// answer lost). It can also stand for a server that cannot be reached.
class CuttingRelay {
public:
    enum class Cut { None, BeforeCommit, AfterCommit };

    // serverSource: the server's Data Source ("socket-folder:port").
    explicit CuttingRelay(const std::string& serverSource);
    ~CuttingRelay();
    CuttingRelay(const CuttingRelay&) = delete;
    CuttingRelay& operator=(const CuttingRelay&) = delete;

    // "127.0.0.1:port", the Data Source to connect through.
    std::string dataSource() const;
    // The next COMMIT any connection sends ends that connection; with
    // thenUnreachable the server cannot be reached from then on.
    void CutAtNextCommit(Cut how, bool thenUnreachable = false) {
        m_downAfterCut = thenUnreachable;
        m_cut = how;
    }
    bool cutDone() const { return m_cut == Cut::None; }
    // New connections are closed at once, and the open ones too.
    void SetUnreachable(bool unreachable);

private:
    struct Pair;
    void accept();
    void relay(int client, int server);

    std::string m_socket;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_unreachable{false};
    std::atomic<bool> m_downAfterCut{false};
    std::atomic<Cut> m_cut{Cut::None};
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::vector<std::thread> m_relays;
    std::vector<int> m_open;
};

}  // namespace velmora::test
