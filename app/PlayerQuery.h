#pragma once
// Figures another process may read from a running player: it sends the main
// window PlayerQueryMessage() with one of TPlayerQuery as WParam and gets the
// figure back as the result (0 for a query the player does not know).
//
// They serve endurance runs that watch the player from outside. Where the
// system does not count a process's GDI objects (Wine's GetGuiResources
// answers 0), only the player can say how many handles its owners hold; and
// the number of transitions it has ended is exact where a status text read
// now and then could miss one or see the same picture named twice. The heaps'
// blocks in use tell a leak from memory a heap keeps after it was freed,
// which private memory counts alike.
#include <windows.h>

enum TPlayerQuery : WPARAM {
  pqHeldGdiHandles = 1,   // GDI handles held by the program's owners
  pqTransitionsEnded = 2, // transitions ended (completed or stopped) since start
  pqHeapBytesInUse = 3    // bytes of the blocks its heaps have handed out
};

// A registered message: the same number in every process of the session, and
// one no other window's private messages can collide with.
inline UINT PlayerQueryMessage()
{
  static const UINT message = RegisterWindowMessageW(L"AutomaticPicturePlayer.Query");
  return message;
}
