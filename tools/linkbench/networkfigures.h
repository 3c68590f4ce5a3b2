// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A byte-paced Write on a local line beside the same Write through ser2net on the
// loopback address, configured as the README shows, with telnet and the COM-PORT-OPTION
// and raw: prints each and what the server's hop costs as a ratio to the local Write.
// False when a Write failed.
bool networkFigures();
