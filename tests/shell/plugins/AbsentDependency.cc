// A library the missing-dependency plug-in imports from; the tests never put
// it where the loader looks.
extern "C" __declspec(dllexport) int qxAbsentDependencyValue(void)
{
    return 1;
}
