// SPDX-License-Identifier: MIT
// A control's settings in the container's property bag: the initial values of a newly
// placed control, and the keys read and written, all as the property registry lists them.
#include <vector>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/face/arrange_clock.hpp>
#include <tickwell/persistence/property_bag.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell {

void VexClock::InitProperties() {
    const Call call(*this);
    maybe_changed_.set();
    may_have_changed_count();
    state_.AlertFired = true;  // no Alert for the count 0 at the first start
    state_.Seconds = state_.Minutes = state_.Hours = state_.Tens = state_.Hundreds = 0;
    for (const MemberInfo* m : Registry::initial_puts())
        m->put(*this, m->initial());
}

// Every key is read and converted first; a value that cannot be converted, or that its
// element refuses, ends the read with an Error attributed to its key before anything is
// applied. Then the values are applied as stored (no range checks, no notifications) and
// the face is laid out.
void VexClock::ReadProperties(PropertyBag& bag) {
    const Call call(*this);
    const auto order = Registry::bag_read_order();
    std::vector<Value> values;
    values.reserve(order.size());
    for (const BagEntry* entry : order) {
        try {
            values.push_back(entry->convert(*this, bag.read(entry->key, entry->default_value())));
        } catch (const Error& e) {
            throw e.attributed_to(entry->key);
        }
    }
    maybe_changed_.set();
    may_have_changed_count();
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i]->load(*this, values[i]);
    ++state_.RunRevision;
    ArrangeClock();
}

void VexClock::WriteProperties(PropertyBag& bag) const {
    for (const BagEntry* entry : Registry::bag_write_order())
        bag.write(entry->key, entry->save(*this), entry->default_value());
}

}  // namespace tickwell
