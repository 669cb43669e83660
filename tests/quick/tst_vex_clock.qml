// SPDX-License-Identifier: MIT
// The VexClock item from QML: its properties, enums and signals by their Qt names, its
// events and messages answered by handlers, and what a screen reader learns of it. Time is
// the test's own: testTime.advance(ms) moves the items' clock and runs their timers.
import QtQuick
import QtTest
import Tickwell

Item {
    id: root
    width: 400
    height: 300

    Component {
        id: digitalTenths
        VexClock {
            display: VexClock.Digital
            accuracy: VexClock.Tenths
            hours: 1
            minutes: 2
            seconds: 5
            tenths: 3
        }
    }
    Component {
        id: plain
        VexClock {}
    }
    Component {
        id: keyParent
        Item {
            property int keys: 0
            property alias clock: clock
            Keys.onPressed: ++keys
            VexClock {
                id: clock
            }
        }
    }
    Component {
        id: spy
        SignalSpy {}
    }

    TestCase {
        name: "VexClock"
        when: windowShown

        function spyOn(target, signalName) {
            return createTemporaryObject(spy, root, {target: target, signalName: signalName})
        }

        function test_properties_and_enums_by_qt_name() {
            const clock = createTemporaryObject(digitalTenths, root)
            compare(clock.text, "01:02:05.3", "the face the component's properties describe")
            compare(clock.userMode, true, "complete: a running program")
            compare(clock.messagePolicy, VexClock.SignalMessages)
            verify(clock.implicitWidth > 100 && clock.implicitHeight > 60)
        }

        function test_message_answered_no_keeps_the_old_accuracy() {
            const clock = createTemporaryObject(plain, root, {display: VexClock.Digital})
            let asked = null
            const answer = (message) => {
                asked = {prompt: message.prompt, question: message.question,
                         buttons: message.buttons, icon: message.icon}
                message.answer = VexClockMessage.No
            }
            clock.messageRequested.connect(answer)
            clock.accuracy = VexClock.Hundredths
            verify(asked !== null)
            verify(asked.question)
            compare(asked.buttons, VexClockMessage.YesNoButtons)
            compare(asked.icon, VexClockMessage.Question)
            verify(asked.prompt.length > 0)
            compare(clock.accuracy, VexClock.Units)
            clock.messageRequested.disconnect(answer)
            clock.accuracy = VexClock.Hundredths
            compare(clock.accuracy, VexClock.Hundredths, "unanswered, the question is answered yes")
        }

        function test_laps_are_signalled_and_listed() {
            const clock = createTemporaryObject(plain, root)
            const lapped = spyOn(clock, "lapped")
            const laps = spyOn(clock, "lapsChanged")
            clock.start()
            testTime.advance(120)
            clock.lap()
            testTime.advance(60)
            clock.lap()
            compare(lapped.count, 2)
            compare(clock.laps.length, 2)
            compare(clock.laps[0].index, 1)
            // The clock's single-precision reading is good to some 8 ms late in a day.
            verify(Math.abs(clock.laps[0].total - 120) <= 10, clock.laps[0].total)
            verify(Math.abs(clock.laps[1].split - 60) <= 10, clock.laps[1].split)
            compare(lapped.signalArguments[1][1], clock.laps[1].total)
            clock.reset()
            compare(clock.laps.length, 0)
            compare(laps.count, 3)
        }

        function test_key_handler_change_reaches_the_control() {
            const view = createTemporaryObject(keyParent, root)
            view.clock.forceActiveFocus()
            verify(view.clock.activeFocus)
            const downs = spyOn(view.clock, "keyDown")
            keyClick(Qt.Key_B)
            compare(view.keys, 1, "a key nobody takes goes on to the parent")
            compare(downs.count, 1)
            let seen = -1
            view.clock.keyPress.connect((event) => {
                seen = event.keyAscii
                event.keyAscii = 0
            })
            keyClick(Qt.Key_B)
            compare(seen, 98)
            compare(view.keys, 1, "the control received 0: the key was taken")
        }

        function test_mouse_raises_down_up_and_click() {
            const clock = createTemporaryObject(plain, root)
            const clicked = spyOn(clock, "clicked")
            let buttons = []
            clock.mouseDown.connect((event) => buttons.push("down " + event.button))
            clock.mouseUp.connect((event) => buttons.push("up " + event.button))
            mouseClick(clock, 20, 20, Qt.LeftButton)
            compare(buttons, ["down 1", "up 1"])
            compare(clicked.count, 1)
            verify(clock.activeFocus, "a press gives the item focus")
        }

        function test_about_box_arrives_as_its_lines() {
            const clock = createTemporaryObject(plain, root)
            const form = spyOn(clock, "formRequested")
            clock.showAboutBox()
            compare(form.count, 1)
            compare(form.signalArguments[0][0], "About VexClock")
            const lines = form.signalArguments[0][1]
            verify(lines[0].startsWith("Tickwell VexClock "))
            verify(lines[lines.length - 1].startsWith("Copyright"))
        }

        function test_screen_reader_hears_role_name_and_spoken_time() {
            const clock = createTemporaryObject(plain, root)
            compare(clock.Accessible.role, Accessible.Clock)
            compare(clock.Accessible.name, "Stopwatch")
            compare(clock.Accessible.description, "0 seconds, stopped")
            clock.start()
            compare(clock.Accessible.description, "0 seconds, running")
            clock.stop()
        }
    }
}
