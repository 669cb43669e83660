// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QMetaType>
#include <QPixmap>
#include <cstdint>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/picture.hpp>

Q_DECLARE_METATYPE(tickwell::PictureRef)

// The Qt hosts' properties, their change signals and their enums are expanded from the
// control's registry lists, under the Qt names the registry gives them: the Qt type of each
// kind of property, and how a value crosses between Qt and the control. A host class expands
// TICKWELL_MEMBERS with TICKWELL_QT_PROPERTY among its Q_PROPERTY declarations, with
// TICKWELL_QT_ACCESSORS in its public section, TICKWELL_QT_CHANGE_SIGNAL among its signals and
// TICKWELL_ENUMS(TICKWELL_QT_ENUM) among its enums; the accessors reach the control through
// the class's control() and put().
#define TICKWELL_QT_TYPE_integer(Enum) int
#define TICKWELL_QT_TYPE_long_(Enum) int
#define TICKWELL_QT_TYPE_boolean(Enum) bool
#define TICKWELL_QT_TYPE_string(Enum) QString
#define TICKWELL_QT_TYPE_color(Enum) QColor
#define TICKWELL_QT_TYPE_picture(Enum) QPixmap
#define TICKWELL_QT_TYPE_enumeration(Enum) Enum
#define TICKWELL_QT_DESIGNABLE_true
#define TICKWELL_QT_DESIGNABLE_false DESIGNABLE false

#define TICKWELL_QT_PROPERTY(Name, QtName, QtCapName, Kind, Enum, Id, Browsable, ...)       \
    Q_PROPERTY(TICKWELL_QT_TYPE_##Kind(Enum) QtName READ QtName WRITE set##QtCapName NOTIFY \
                   QtName##Changed TICKWELL_QT_DESIGNABLE_##Browsable)
#define TICKWELL_QT_NO_ROW(...)

#define TICKWELL_QT_ENUMERATOR(cpp_name, library_name, qt_name, value) qt_name = value,
#define TICKWELL_QT_ENUM(Type, library_name, VALUES)    \
    enum Type : int { VALUES(TICKWELL_QT_ENUMERATOR) }; \
    Q_ENUM(Type)

// Reads go through the typed members; writes through the control's puts, which convert and
// check a value as the platform does (an enum value beyond 16 bits is refused, not wrapped).
#define TICKWELL_QT_FROM_integer(Enum, v) \
    int {                                 \
        v                                 \
    }
#define TICKWELL_QT_FROM_long_(Enum, v) \
    int {                               \
        v                               \
    }
#define TICKWELL_QT_FROM_boolean(Enum, v) v
#define TICKWELL_QT_FROM_string(Enum, v) QString::fromStdString(v)
#define TICKWELL_QT_FROM_color(Enum, v) colorScheme().to_qcolor(v)
#define TICKWELL_QT_FROM_picture(Enum, v) tickwell::qt::picture_to_qt(v)
#define TICKWELL_QT_FROM_enumeration(Enum, v) Enum(tickwell::to_long(v))
#define TICKWELL_QT_TO_integer(Enum, v) tickwell::Value(std::int32_t{v})
#define TICKWELL_QT_TO_long_(Enum, v) tickwell::Value(std::int32_t{v})
#define TICKWELL_QT_TO_boolean(Enum, v) tickwell::Value(tickwell::Boolean{v})
#define TICKWELL_QT_TO_string(Enum, v) tickwell::Value(v.toStdString())
#define TICKWELL_QT_TO_color(Enum, v) tickwell::color_value(tickwell::qt::color_from_qt(v))
#define TICKWELL_QT_TO_picture(Enum, v) tickwell::Value(tickwell::qt::picture_from_qt(v))
#define TICKWELL_QT_TO_enumeration(Enum, v) tickwell::Value(std::int32_t{v})
#define TICKWELL_QT_ACCESSORS(Name, QtName, QtCapName, Kind, Enum, ...) \
    TICKWELL_QT_TYPE_##Kind(Enum) QtName() const {                      \
        return TICKWELL_QT_FROM_##Kind(Enum, control().Name());         \
    }                                                                   \
    void set##QtCapName(const TICKWELL_QT_TYPE_##Kind(Enum) & value) {  \
        put(#Name, TICKWELL_QT_TO_##Kind(Enum, value));                 \
    }
#define TICKWELL_QT_CHANGE_SIGNAL(Name, QtName, QtCapName, Kind, Enum, ...) \
    void QtName##Changed(TICKWELL_QT_TYPE_##Kind(Enum) value);

// Emits, from a host's member function, the change signal of every property the vector
// named `changed` there marks (one flag a property, in registry order), as long as the
// QPointer named `guard` says the host lives: a slot may delete it.
#define TICKWELL_QT_EMIT_CHANGE(Name, QtName, ...)           \
    if (changed[i] && guard) emit QtName##Changed(QtName()); \
    ++i;
#define TICKWELL_QT_EMIT_CHANGES()                                    \
    do {                                                              \
        std::size_t i = 0;                                            \
        TICKWELL_MEMBERS(TICKWELL_QT_EMIT_CHANGE, TICKWELL_QT_NO_ROW) \
    } while (false)

namespace tickwell::qt {

// Colours and pictures between the control and Qt. A system colour reads as the colour it
// paints through the fixed palette (a host's colour properties read it through the host's
// colour scheme instead); a QColor is stored as the explicit colour it is. A null pixmap is
// no picture.
TICKWELL_API QColor color_to_qt(std::uint32_t color);
TICKWELL_API std::uint32_t color_from_qt(const QColor& color);
TICKWELL_API QPixmap picture_to_qt(const PictureRef& picture);
TICKWELL_API PictureRef picture_from_qt(const QPixmap& pixmap);

}  // namespace tickwell::qt
