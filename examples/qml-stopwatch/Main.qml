// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tickwell

ApplicationWindow {
    id: window
    width: 640
    height: 420
    visible: true
    title: "QML stopwatch"

    // Set by the program: start both watches at once and take a lap after a second.
    property bool autoRun: false
    readonly property int lapCount: upClock.laps.length
    readonly property string shownText: downClock.text

    function startAll() { upClock.start(); downClock.start() }
    function stopAll() { upClock.stop(); downClock.stop() }
    function resetAll() { upClock.reset(); downClock.reset() }

    Component.onCompleted: if (autoRun) startAll()
    Timer {
        running: window.autoRun
        interval: 1000
        onTriggered: upClock.lap()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        RowLayout {
            spacing: 12
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: true
                Label { text: "Counting up" }
                VexClock {
                    id: upClock
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clockFace: VexClock.Oval
                    appearance: VexClock.Raised
                    secondHandWidth: 2
                }
                Label { text: upClock.text; font.family: "monospace" }
            }
            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: true
                Label { text: "Counting down from one minute" }
                VexClock {
                    id: downClock
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    display: VexClock.Digital
                    accuracy: VexClock.Hundredths
                    clockMode: VexClock.CountDown
                    initialTime: "00:01:00"
                    onTimeExpired: expired.visible = true
                }
                Label { id: expired; text: "Time is up"; visible: false }
            }
        }

        RowLayout {
            spacing: 6
            Button { text: "Start"; onClicked: window.startAll() }
            Button { text: "Stop"; onClicked: window.stopAll() }
            Button {
                text: "Reset"
                onClicked: { window.resetAll(); expired.visible = false }
            }
            Button { text: "Lap"; onClicked: upClock.lap() }
            Item { Layout.fillWidth: true }
            Button { text: "About"; onClicked: upClock.showAboutBox() }
        }

        ListView {
            id: lapList
            Layout.fillWidth: true
            Layout.preferredHeight: 80
            clip: true
            model: upClock.laps
            delegate: Label {
                required property var modelData
                function seconds(ms) { return (ms / 1000).toFixed(2) + " s" }
                text: "Lap " + modelData.index + "   " + seconds(modelData.total)
                      + "   (+" + seconds(modelData.split) + ")"
            }
        }
    }

    Connections {
        target: upClock
        function onFormRequested(caption, lines) {
            about.title = caption
            about.lines = lines
            about.open()
        }
    }

    Dialog {
        id: about
        property var lines: []
        anchors.centerIn: parent
        modal: true
        standardButtons: Dialog.Ok
        Column {
            spacing: 4
            Repeater {
                model: about.lines
                Label { required property string modelData; text: modelData }
            }
        }
    }
}
