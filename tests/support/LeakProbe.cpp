// Leaks on purpose: LeakSanitizer must report it, or the native tests' clean leak
// report proves nothing.
int main()
{
    static int* volatile Leaked;
    Leaked = new int[64];
    Leaked = nullptr;
    return 0;
}
