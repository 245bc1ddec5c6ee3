// A DLL that does nothing, placed beside the test exe as a planted DLL would be.
extern "C" __declspec(dllexport) int KelvaroProbe() {
    return 1;
}
