#!/usr/bin/env bash
# Runs the end-to-end cases that need kernel support this machine's kernel may lack (PPP over
# Ethernet) in a virtual machine: Debian's own kernel package, unpacked into the build folder
# and never installed, boots under emulation with this machine's root file system read-only
# over 9p and no network card. A small initramfs loads the modules the cases need and runs
# them (tests/vm/init). pppoe-server of Debian 12 runs its sessions in user mode, over a pty:
# hence ppp_async. Usage: test-vm.sh BUILD_DIR [SCRIPT...]
set -euo pipefail

build=$(realpath "${1:-build}")
repo=$(realpath "$(dirname "$0")/..")
vm="$build/vm"
mkdir -p "$vm"
cd "$vm"

# The kernel: the version the metapackage depends on, fetched once.
if [ ! -e kernel/.unpacked ]; then
  package=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
  [ -n "$package" ] || { echo "no kernel package known to apt" >&2; exit 1; }
  rm -rf kernel ./*.deb
  # apt's download user cannot write into a build folder owned by someone else.
  apt-get download "$package" 2>&1 | grep -v unsandboxed || true
  dpkg-deb -x ./"$package"_*.deb kernel
  rm -f ./*.deb
  touch kernel/.unpacked
fi
vmlinuz=$(ls kernel/boot/vmlinuz-*)
modules=$(ls -d kernel/lib/modules/*)

# The initramfs: busybox, the init script, the modules with their dependencies in loading
# order, and the command to run.
rm -rf initramfs
mkdir -p initramfs/bin initramfs/modules initramfs/proc initramfs/sys initramfs/dev
cp /bin/busybox initramfs/bin/busybox
cp "$repo/tests/vm/init" initramfs/init
python3 - "$modules" initramfs <<'PY'
import os, sys
top, out = sys.argv[1], sys.argv[2]
# 9p over virtio for the root file system; PPP over Ethernet for pppd and for the PPPoE
# server's sessions (over a pty, so ppp_async); veth, WireGuard, and tun for the fixtures.
wanted = ["virtio_pci", "9pnet_virtio", "9p", "ppp_generic", "ppp_async", "pppoe", "veth",
          "wireguard", "tun"]
paths = {}
for folder, _, files in os.walk(os.path.join(top, "kernel")):
    for f in files:
        if f.endswith(".ko"):
            paths[f[:-3].replace("-", "_")] = os.path.join(folder, f)
def depends(name):
    data = open(paths[name], "rb").read()
    start = data.find(b"\0depends=")
    if start < 0:
        return []
    value = data[start + 9:data.index(b"\0", start + 1)].decode()
    return [d.replace("-", "_") for d in value.split(",") if d]
order = []
def visit(name):
    if name in order:
        return
    for d in depends(name):
        visit(d)
    order.append(name)
for name in wanted:
    visit(name)
with open(os.path.join(out, "modules.order"), "w") as f:
    for name in order:
        os.link(paths[name], os.path.join(out, "modules", name + ".ko"))
        f.write(name + "\n")
PY
# The machine puts tmpfs over /tmp, /run and /var: a checkout or a build folder there would be
# hidden, so both are shared again on their own and mounted at their own paths.
shares=(-virtfs "local,path=$repo,mount_tag=repo,security_model=none,readonly=on,multidevs=remap")
echo "repo $repo" >initramfs/shares
case "$build/" in
  "$repo"/*) ;;
  *)
    shares+=(-virtfs "local,path=$build,mount_tag=build,security_model=none,readonly=on,multidevs=remap")
    echo "build $build" >>initramfs/shares
    ;;
esac
# Every script must pass: inside the machine a skipped one is a failure too.
scripts=("${@:2}")
[ ${#scripts[@]} -gt 0 ] ||
  scripts=(tests/e2e/pppd_network_test.py tests/e2e/nm_pppoe_wireguard_test.py)
cat >initramfs/test.cmd <<CMD
rc=0
cd '$repo' || rc=1
for script in ${scripts[*]}; do
  env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    TARVIK_BIN='$build/tarvik' TARVIK_LINE='$build/tarvik-line' python3 \$script || rc=1
done
echo "TARVIK-VM-RESULT rc=\$rc"
CMD
(cd initramfs && find . | cpio -o -H newc --quiet | gzip -1) >initramfs.cpio.gz

started=$(date +%s)
# KVM cannot boot a stock kernel on these machines: the processor is emulated.
timeout 1200 qemu-system-x86_64 -accel tcg -cpu max -smp 2 -m 2048 -nographic -no-reboot \
  -nic none -kernel "$vmlinuz" -initrd initramfs.cpio.gz \
  -append "console=ttyS0 panic=-1 quiet loglevel=3" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  "${shares[@]}" \
  </dev/null | tee console.log
echo "test-vm: $(($(date +%s) - started)) s in the virtual machine"
grep -q "^TARVIK-VM-RESULT rc=0" console.log
