#include "gfx/ScratchPool.h"

namespace gfx {

namespace scratch_detail {

namespace {

// Both are constant-initialized and need no destructor, so pools that end
// with the process can still leave the list.
std::atomic_flag enrolling = ATOMIC_FLAG_INIT;
TEnrolment* enrolled = nullptr;

} // namespace

void Enrol(TEnrolment& enrolment) noexcept
{
  TSpin held(enrolling);
  enrolment.Next = enrolled;
  enrolled = &enrolment;
}

void Leave(TEnrolment& enrolment) noexcept
{
  TSpin held(enrolling);
  for (TEnrolment** link = &enrolled; *link; link = &(*link)->Next)
    if (*link == &enrolment) {
      *link = enrolment.Next;
      break;
    }
}

} // namespace scratch_detail

void ReleaseIdleScratch() noexcept
{
  using namespace scratch_detail;
  TSpin held(enrolling);
  for (TEnrolment* pool = enrolled; pool; pool = pool->Next)
    pool->ReleaseIdle(pool->Pool);
}

} // namespace gfx
