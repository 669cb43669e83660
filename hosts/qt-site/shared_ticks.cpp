// SPDX-License-Identifier: MIT
#include <tickwell/qt/shared_ticks.hpp>

#include <QCoreApplication>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace tickwell::qt {
namespace {

// Set while a pass of one of the thread's shared timers runs: where a member's request for
// pending events is noted, to be met when the pass ends. A pass inside a pass (a member's
// request met by the inner one) notes its own.
thread_local bool* pending_events_requested = nullptr;

// One period's timer and its members, in the order they joined. A ticker is kept, stopped,
// when its last member leaves: it may be delivering the very timeout that made it empty.
struct Ticker {
    explicit Ticker(int period) {
        timer.setTimerType(period < kPreciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
        timer.setInterval(period);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }

    void tick() {
        bool requested = false;
        bool* const outer = std::exchange(pending_events_requested, &requested);
        tick_members();
        pending_events_requested = outer;
        if (requested) QCoreApplication::processEvents();
    }

    void tick_members() {
        // Members may join or leave during the pass: those who left are skipped, those who
        // joined have their first tick at the next timeout.
        std::vector<std::uint64_t> ids;
        ids.reserve(members.size());
        for (const auto& [id, member] : members)
            ids.push_back(id);
        for (const std::uint64_t id : ids) {
            const auto it = members.find(id);
            if (it == members.end()) continue;
            // A copy: the member may leave, destroying its own function, while it runs.
            const std::function<void()> member = it->second;
            member();
        }
    }

    QTimer timer;
    std::map<std::uint64_t, std::function<void()>> members;  // ids grow: joining order
};

struct Tickers {
    std::map<int, std::unique_ptr<Ticker>> by_period;
    std::uint64_t last_id = 0;
    bool manual = false;  // the timers tick only when run_shared_tick says
};

Tickers& tickers() {
    thread_local Tickers the_tickers;
    return the_tickers;
}

}  // namespace

void TickMembership::join(int period_ms, std::function<void()> tick) {
    Q_ASSERT(period_ms > 0);
    leave();
    Tickers& all = tickers();
    std::unique_ptr<Ticker>& ticker = all.by_period[period_ms];
    if (!ticker) ticker = std::make_unique<Ticker>(period_ms);
    id_ = ++all.last_id;
    period_ = period_ms;
    ticker->members.emplace(id_, std::move(tick));
    if (!ticker->timer.isActive() && !all.manual) ticker->timer.start();
}

void TickMembership::leave() {
    if (id_ == 0) return;
    Tickers& all = tickers();
    const auto it = all.by_period.find(period_);
    if (it != all.by_period.end()) {
        Ticker& ticker = *it->second;
        ticker.members.erase(id_);
        if (ticker.members.empty()) ticker.timer.stop();
    }
    id_ = 0;
    period_ = 0;
}

void process_pending_events() {
    if (pending_events_requested) {
        *pending_events_requested = true;
        return;
    }
    QCoreApplication::processEvents();
}

const QTimer* shared_tick_timer(int period_ms) {
    const auto& by_period = tickers().by_period;
    const auto it = by_period.find(period_ms);
    return it != by_period.end() && !it->second->members.empty() ? &it->second->timer : nullptr;
}

std::vector<int> shared_tick_periods() {
    std::vector<int> periods;
    for (const auto& [period, ticker] : tickers().by_period)
        if (!ticker->members.empty()) periods.push_back(period);
    return periods;
}

void set_shared_ticks_manual(bool manual) {
    Tickers& all = tickers();
    all.manual = manual;
    for (const auto& [period, ticker] : all.by_period) {
        if (manual)
            ticker->timer.stop();
        else if (!ticker->members.empty())
            ticker->timer.start();
    }
}

bool run_shared_tick(int period_ms) {
    const auto& by_period = tickers().by_period;
    const auto it = by_period.find(period_ms);
    if (it == by_period.end() || it->second->members.empty()) return false;
    it->second->tick();
    return true;
}

int shared_tick_timers_running() {
    int running = 0;
    for (const auto& [period, ticker] : tickers().by_period)
        running += !ticker->members.empty();
    return running;
}

}  // namespace tickwell::qt
