#pragma once
// Event signatures shared by the controls and the forms' handlers.
#include <QChar>
#include <QString>
#include <functional>

class TComponent;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;

using TNotifyEvent = std::function<void(TComponent* Sender)>;
// Key is the typed character; setting it to QChar(0) discards it.
using TKeyPressEvent = std::function<void(TComponent* Sender, QChar& Key)>;
using TKeyEvent = std::function<void(TComponent* Sender, int& Key, TShiftState Shift)>;
using TMouseEvent = std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TSetEditEvent = std::function<void(TComponent* Sender, int ACol, int ARow, const QString& Value)>;

class QKeyEvent;
class QMouseEvent;
class QInputEvent;
// The character a key press types, as the key-press events see it: Backspace
// #8, Tab #9, Enter #13, Escape #27, Ctrl+letter its control code; 0 for none
// (Delete among them).
QChar KeyEventChar(const QKeyEvent* e);
TShiftState ShiftStateOf(const QInputEvent* e);
TMouseButton MouseButtonOf(const QMouseEvent* e);
