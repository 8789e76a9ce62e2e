// A library named like the input assistant but without its entry point.
extern "C" __attribute__((visibility("default"))) int NotTheWizard()
{
    return 1;
}
