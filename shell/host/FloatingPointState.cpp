#include "shell/host/FloatingPointState.h"

#include <xmmintrin.h>

FloatingPointState FloatingPointState::current()
{
    FloatingPointState state;
    uint16_t control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    state.x87Control = control;
    state.mxcsr = _mm_getcsr();
    return state;
}

void FloatingPointState::restore() const
{
    uint16_t control = x87Control;
    asm volatile("fnclex\n\tfldcw %0" : : "m"(control));
    _mm_setcsr(mxcsr);
}
