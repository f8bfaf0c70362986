#include "updater/Crypto.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vt {

namespace {

class BackgroundSha256 : public ISha256 {
public:
    explicit BackgroundSha256(std::unique_ptr<ISha256> inner) : m_inner(std::move(inner)) {}
    ~BackgroundSha256() override { Stop(); }
    BackgroundSha256(const BackgroundSha256&) = delete;
    BackgroundSha256& operator=(const BackgroundSha256&) = delete;

    void Update(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            if (m_batch.capacity() < kBatch) NewBatch();
            const std::size_t n = std::min(size, kBatch - m_batch.size());
            m_batch.append(p, n);
            p += n;
            size -= n;
            if (m_batch.size() == kBatch) Push();
        }
    }

    bool Finish(Sha256Digest& out) override {
        if (!m_batch.empty()) Push();
        Stop();
        return m_inner->Finish(out);
    }

private:
    // Bytes are handed over in batches of 1 MiB: every hand-over costs a
    // few waits and wakes, and under Wine each of those is a round trip to
    // its server, which at 64 KiB a batch cost as much as the hash itself.
    static constexpr std::size_t kBatch = 1024 * 1024;
    static constexpr std::size_t kMaxQueued = 4 * kBatch;

    // A batch's buffer, a hashed one again where there is one: allocating
    // and freeing a buffer this large maps and unmaps memory every time.
    void NewBatch() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_spare.empty()) {
                m_batch = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        m_batch.clear();
        // At its full size at once: growing it would copy every byte again
        // on each reallocation.
        m_batch.reserve(kBatch);
    }

    void Push() {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_worker.joinable()) m_worker = std::thread([this] { Work(); });
        m_room.wait(lock, [this] { return m_nQueued < kMaxQueued; });
        m_nQueued += m_batch.size();
        m_queue.push_back(std::move(m_batch));
        m_batch.clear();
        m_work.notify_one();
    }

    void Work() {
        for (;;) {
            std::string batch;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_work.wait(lock, [this] { return !m_queue.empty() || m_bDone; });
                if (m_queue.empty()) return;
                batch = std::move(m_queue.front());
                m_queue.pop_front();
                m_nQueued -= batch.size();
            }
            m_room.notify_one();
            m_inner->Update(batch.data(), batch.size());
            std::lock_guard<std::mutex> lock(m_mutex);
            m_spare.push_back(std::move(batch));
        }
    }

    void Stop() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bDone = true;
        }
        m_work.notify_one();
        if (m_worker.joinable()) m_worker.join();
    }

    std::unique_ptr<ISha256> m_inner;
    std::string m_batch;  // filled by Update, on the caller's thread only
    std::mutex m_mutex;
    std::condition_variable m_work, m_room;
    std::deque<std::string> m_queue;
    std::vector<std::string> m_spare;  // hashed batches, for reuse
    std::size_t m_nQueued = 0;
    bool m_bDone = false;
    std::thread m_worker;
};

}  // namespace

std::unique_ptr<ISha256> HashInBackground(std::unique_ptr<ISha256> inner) {
    if (!inner) return nullptr;
    return std::make_unique<BackgroundSha256>(std::move(inner));
}

bool Sha256Of(const ISha256Factory& factory, const void* data, std::size_t size, Sha256Digest& out) {
    std::unique_ptr<ISha256> hash = factory.NewSha256();
    if (!hash) return false;
    hash->Update(data, size);
    return hash->Finish(out);
}

}  // namespace vt
