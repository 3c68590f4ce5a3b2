// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How many received bytes it takes for the line to wake whoever waits on it. A plain UART
// hands bytes over one at a time, thousands a second; waking the program for each one
// costs more than the transfer itself, so a waiter that knows how many bytes it needs asks
// the line to wake it once they are all there.

#include <QSerialPort>

namespace rw {

// Makes the line of `serial` report bytes as readable only once `count` (1..255) are
// waiting. Does nothing where the system offers no such setting; a waiter then wakes at
// every byte as before.
void setWakeThreshold(QSerialPort &serial, int count);

} // namespace rw
