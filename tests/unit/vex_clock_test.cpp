// SPDX-License-Identifier: MIT
// The control's public surface: the put pattern, refusals, the type library and the state
// shared by every control in a process.
#include <tickwell/control/vex_clock.hpp>

#include <set>

#include <tickwell/control/type_library.hpp>
#include "clock_fixture.hpp"
#include "thrown.hpp"

namespace tickwell::testing {
namespace {

using VexClockTest = ClockTest;

// A put that is refused (with a message) or fails (with the platform's error; the refusals
// script shows them) tells nobody of a change and leaves the property, and the elements it
// feeds, as they were.
TEST_F(VexClockTest, AFailedPutChangesNothing) {
    clock->setMinutes(12);
    clock->setClockFace(ClockFace::oval);
    clock->setInitialTime("0:1:0");
    take();
    clock->put("Minutes", Value(std::int16_t{-1}));
    EXPECT_EQ(take(), kNegative);
    clock->setClockFace(static_cast<ClockFace>(2));
    EXPECT_EQ(take(), kInvalid);
    EXPECT_EQ(put_failure("InitialTime", Value("99999999999:00:00")), ErrorKind::overflow);
    EXPECT_EQ(put_failure("Accuracy", Value(std::int32_t{-40000})), ErrorKind::overflow);
    EXPECT_EQ(put_failure("AlertTime", Value("")), ErrorKind::type_mismatch);
    EXPECT_EQ(put_failure("SecWidth", Value(std::int16_t{-2})), ErrorKind::invalid_value);
    EXPECT_EQ(take(), "");
    EXPECT_EQ(clock->Minutes(), 12);
    EXPECT_EQ(clock->ClockFace(), ClockFace::oval);
    EXPECT_EQ(clock->InitialTime(), "00:01:00");
    EXPECT_EQ(clock->AlertTime(), 0);
    EXPECT_EQ(clock->SecWidth(), 1);
    EXPECT_EQ(face().HandSh(0).border_width(), 1);
}

TEST_F(VexClockTest, ClockModeNormalClearsTheTimeFields) {
    clock->setMinutes(5);
    clock->setTens(3);
    clock->setClockMode(ClockMode::count_down);  // a count-down shows its initial time
    EXPECT_EQ(clock->Minutes(), 0);
    EXPECT_EQ(clock->Tens(), 0);
    clock->setClockMode(ClockMode::normal);
    clock->setTens(3);
    clock->setClockMode(ClockMode::normal);
    EXPECT_EQ(clock->Tens(), 0);
}

TEST_F(VexClockTest, CountDownLayoutReloadsTheTimeFromInitialTime) {
    clock->setInitialTime("1:30:00");
    clock->setClockMode(ClockMode::count_down);
    take();
    clock->setHours(5);
    EXPECT_EQ(take(), "changed a Hours\n");
    EXPECT_EQ(clock->Hours(), 1);
    EXPECT_EQ(clock->Minutes(), 30);
    clock->setHundreds(7);
    EXPECT_EQ(clock->Hundreds(), 0);  // the initial time has no fraction
}

TEST_F(VexClockTest, InitialTimePutClearsTheStoppedCount) {
    clock->setMinutes(3);
    clock->StopClock();
    EXPECT_EQ(state().StoppedSeconds, 180);
    clock->setInitialTime("0:0:10");
    EXPECT_EQ(state().StoppedSeconds, 0);
}

// The registry is the one description of the interface: whatever reaches a member by name
// or id, or keeps it in the bag, must find every member there, once.
TEST_F(VexClockTest, TheRegistryReachesEveryMemberOnceByNameAndById) {
    std::set<std::string_view> names;
    std::set<std::int32_t> ids;
    for (const MemberInfo& m : TypeLibrary::members()) {
        SCOPED_TRACE(std::string(m.name));
        EXPECT_TRUE(names.insert(m.name).second) << "name listed twice";
        EXPECT_TRUE(ids.insert(m.dispatch_id).second) << "dispatch id listed twice";
        EXPECT_EQ(TypeLibrary::find(m.name), &m);
        EXPECT_EQ(TypeLibrary::find(m.dispatch_id), &m);
        EXPECT_FALSE(m.help.empty());
        if (m.is_method) {
            EXPECT_NE(m.invoke, nullptr);
            continue;
        }
        // Every property reads by name and by id alike, and takes back what it reads.
        const Value by_name = clock->get(m.name);
        EXPECT_EQ(clock->get(m.dispatch_id), by_name);
        if (m.name != "Running") {
            clock->put(m.dispatch_id, by_name);
            EXPECT_EQ(clock->get(m.name), by_name);
        }
        EXPECT_EQ(m.type == PropertyType::enumeration, m.enum_type != nullptr);
        // A property kept in the state shows in the state dump under its own name.
        EXPECT_EQ(m.storage == Storage::state, Clock::field(state(), m.name).has_value());
    }
    EXPECT_EQ(names.size(), 30u);
}

TEST_F(VexClockTest, EveryBagKeyIsReadAndWrittenOnceInItsPlace) {
    const auto read = Registry::bag_read_order();
    const auto written = Registry::bag_write_order();
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i]->read_at, static_cast<int>(i)) << read[i]->key;
        EXPECT_EQ(written[i]->write_at, static_cast<int>(i)) << written[i]->key;
    }
    std::set<std::string_view> keys;
    for (const BagEntry* entry : read)
        EXPECT_TRUE(keys.insert(entry->key).second) << entry->key;
    // Every property but Running is kept, under a key of its own.
    std::size_t kept = 0;
    for (const MemberInfo& m : TypeLibrary::members())
        if (m.bag) {
            ++kept;
            EXPECT_TRUE(keys.count(m.bag->key)) << m.name;
        } else {
            EXPECT_TRUE(m.is_method || m.name == "Running") << m.name;
        }
    EXPECT_EQ(kept + 1, keys.size());  // and BorderVisible, which is no property
}

TEST(Enums, EveryValueIsNamedOnceAndReachesItsCppEnumerator) {
    ASSERT_EQ(enum_infos().size(), 6u);
    for (const EnumInfo& e : enum_infos()) {
        std::set<std::int32_t> values;
        for (const EnumMember& m : e.members) {
            EXPECT_TRUE(values.insert(m.value).second) << e.name << "." << m.name;
            EXPECT_EQ(e.name_of(m.value), m.name);
        }
    }
    EXPECT_EQ(enum_info<MousePointer>().name_of(to_long(MousePointer::custom)), "swCustom");
    EXPECT_EQ(enum_info<Accuracy>().name_of(to_long(Accuracy::hundredths)), "SwHundredths");
    EXPECT_EQ(enum_info<Display>().name_of(7), "");
}

TEST_F(VexClockTest, UnknownMembersAreRefusedByName) {
    EXPECT_THROW(clock->get("Bogus"), Error);
    EXPECT_THROW(clock->put("StartClock", Value()), Error);
    EXPECT_THROW(clock->invoke("Hours"), Error);
    EXPECT_THROW(clock->get(std::int32_t{0x12345}), Error);
}

TEST_F(VexClockTest, MembersAreReachableByDispatchId) {
    clock->put(std::int32_t{0x6803000A}, Value(std::int16_t{1}));  // Display
    EXPECT_EQ(take(), "changed a Display\n");
    EXPECT_EQ(clock->get(std::int32_t{-513}), Value(std::int32_t{0}));  // ForeColor
    container.user_mode = true;
    clock->invoke(std::int32_t{0x60030027});  // StartClock
    EXPECT_TRUE(clock->Running());
    EXPECT_EQ(clock->get(std::int32_t{0x6803000D}), Value(Boolean{true}));  // Running
}

// The control tells its site once, when the outermost call returns, what the calls under it
// actually changed, whoever made the call: a put, a tick, a handler's put inside an event.
TEST_F(VexClockTest, TheSiteIsToldOnceWhatACallChanged) {
    std::vector<ChangeSet> told;
    container.on_changes("a", [&](const ChangeSet& c) { told.push_back(c); });
    const auto bit = [](PropertyId id) { return static_cast<std::size_t>(id); };

    clock->setAlertTime(9);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].properties.count(), 1u);
    EXPECT_TRUE(told[0].properties[bit(PropertyId::AlertTime)]);
    clock->setAlertTime(9);  // the same value: nothing to tell
    EXPECT_EQ(told.size(), 1u);

    told.clear();
    container.user_mode = true;
    clock->setDisplay(Display::digital);
    clock->StartClock();
    container.on("a", "Notify", [&](std::span<EventArgument>) { clock->setAlertTime(3); });
    told.clear();
    container.set_clock(1'500'000);
    clock->SWTimer_Timer();
    ASSERT_EQ(told.size(), 1u) << "the handler's put is told with the tick's own changes";
    EXPECT_TRUE(told[0].properties[bit(PropertyId::Seconds)]);
    EXPECT_TRUE(told[0].properties[bit(PropertyId::AlertTime)]);
    EXPECT_FALSE(told[0].properties[bit(PropertyId::Minutes)]);
    EXPECT_TRUE(told[0].count);
    EXPECT_TRUE(told[0].elements) << "a digit cell took a new glyph";

    told.clear();
    clock->StopClock();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].properties[bit(PropertyId::Running)]);
    clock->lap();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_TRUE(told[1].laps);
    EXPECT_TRUE(told[1].properties.none());
}

// A control that shares the process-wide record is told when another changes it.
TEST_F(VexClockTest, ControlsSharingTheRecordAreToldOfEachOthersChanges) {
    VexClock& b = container.create("b");
    std::vector<ChangeSet> told_b;
    container.on_changes("b", [&](const ChangeSet& c) { told_b.push_back(c); });
    clock->setIgnoreDisplay(true);
    ASSERT_EQ(told_b.size(), 1u);
    EXPECT_TRUE(told_b[0].properties[static_cast<std::size_t>(PropertyId::IgnoreDisplay)]);
    EXPECT_TRUE(b.IgnoreDisplay());
    clock->setBorderColor(0x000000FF);  // the element of a's own face: not b's
    EXPECT_EQ(told_b.size(), 1u);
}

}  // namespace
}  // namespace tickwell::testing
