// The program entry of a framework application: linked in only when the program has no
// WinMain of its own.
#include "afxwin.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
