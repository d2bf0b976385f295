// The one object of a platform service's implementation, made on first use
// and kept for the rest of the run: what each service's Real() hands out.
#ifndef BRANTVELL_PLATFORM_SERVICE_INSTANCE_H_
#define BRANTVELL_PLATFORM_SERVICE_INSTANCE_H_

namespace brantvell {

template <class Implementation>
Implementation& ServiceInstance() {
  static Implementation instance;
  return instance;
}

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_SERVICE_INSTANCE_H_
