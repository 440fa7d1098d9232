"""A real pppd dialling a real PPPoE server, for the end-to-end tests.

The test process moves itself into a network and mount namespace of its own (enter()), where
/sys shows only that namespace's interfaces and /etc/ppp and /run are tmpfs holding the test's
peers, secrets and pid files: nothing reaches the machine's /etc or network. The client side
(pppd and the program under test) lives there; `pppoe-server` lives in a second namespace
joined to it by a veth pair and hands out addresses from 198.51.100.0/24.

Needs a kernel with PPP over Ethernet; where it lacks it, `make test-vm` runs these cases in
a virtual machine on Debian's own kernel.

Not named *_test.py on purpose: ctest runs every such script in this folder as a test.
"""
import os
import shutil
import signal
import socket
import subprocess
import time

INSIDE = "TARVIK_PPPD_NAMESPACE"
PEER = "dsl"
PEERS = ["zeta", PEER, "alpha"]  # made in this order; the phonebook lists them sorted
SERVER_ADDRESS = "198.51.100.1"
CLIENT_ADDRESS = "198.51.100.2"
USER = "alice"
PASSWORD = "s3cret"
TOOLS = ["ip", "unshare", "pppd", "pppoe-server", "poff", "ps"]
PLUGIN_DIRS = ["/usr/lib/pppd"]
AF_PPPOX = 24
PX_PROTO_OE = 0


def plugin():
    for top in PLUGIN_DIRS:
        if os.path.isdir(top):
            for version in sorted(os.listdir(top)):
                path = os.path.join(top, version, "rp-pppoe.so")
                if os.path.exists(path):
                    return path
    return None


def skip_reason():
    """Why these cases cannot run here, or None."""
    if os.geteuid() != 0:
        return "needs root (network namespaces, pppd)"
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if plugin() is None:
        missing.append("rp-pppoe.so")
    if missing:
        return "not installed: " + ", ".join(missing) + " (scripts/install-deps.sh installs them)"
    try:
        socket.socket(AF_PPPOX, socket.SOCK_STREAM, PX_PROTO_OE).close()
        with open("/dev/ppp", "rb"):
            pass
    except OSError as e:
        return f"this kernel has no PPP over Ethernet ({e.strerror}): `make test-vm` runs " \
               "these cases in a virtual machine"
    probe = subprocess.run(["unshare", "--net", "--mount", "true"], capture_output=True)
    if probe.returncode != 0:
        return "network namespaces cannot be made here: " + probe.stderr.decode().strip()
    return None


def enter(argv):
    """Runs argv again inside a fresh network and mount namespace, and returns its exit code;
    returns None when already inside."""
    if os.environ.get(INSIDE):
        return None
    env = dict(os.environ, **{INSIDE: "1"})
    return subprocess.run(["unshare", "--net", "--mount", "--propagation", "private", "--",
                           *argv], env=env).returncode


def run(*args, check=True):
    return subprocess.run(list(args), check=check, capture_output=True, timeout=60)


SERVER_OPTIONS = """require-pap
lcp-echo-interval 1
lcp-echo-failure 3
noccp
novj
nodefaultroute
debug
logfile /etc/ppp/server.log
"""

PEER_OPTIONS = """plugin {plugin}
nic-tvkc0
user "{user}"
noipdefault
noauth
nodefaultroute
noccp
novj
lcp-echo-interval 1
lcp-echo-failure 3
maxfail 1
debug
logfile /etc/ppp/client.log
"""


class PppdFixture:
    """Made inside the namespace of enter(); close() ends every process it started."""

    def __init__(self):
        self.server_ns = f"tvk-pppoe-{os.getpid()}"
        self.server = None
        self.dialers = []

    def start(self):
        run("mount", "-t", "sysfs", "sysfs", "/sys")  # this namespace's interfaces only
        for folder in ("/etc/ppp", "/run"):
            run("mount", "-t", "tmpfs", "-o", "mode=755", "tmpfs", folder)
        os.makedirs("/run/netns")
        os.makedirs("/etc/ppp/peers")
        os.makedirs("/etc/ppp/plugins")
        # pppoe-server hands this path to the pppd it starts for each session.
        os.symlink(plugin(), "/etc/ppp/plugins/rp-pppoe.so")
        for name in PEERS:
            self.write(f"/etc/ppp/peers/{name}", PEER_OPTIONS.format(plugin=plugin(), user=USER))
        self.write(f"/etc/ppp/peers/{PEER}~", "an editor's backup, no peer\n")
        self.write("/etc/ppp/pppoe-server-options", SERVER_OPTIONS)
        self.write("/etc/ppp/pap-secrets", f'"{USER}" * "{PASSWORD}" *\n', 0o600)
        run("ip", "link", "set", "lo", "up")
        run("ip", "netns", "add", self.server_ns)
        run("ip", "link", "add", "tvkc0", "type", "veth", "peer", "name", "tvks0", "netns",
            self.server_ns)
        run("ip", "link", "set", "tvkc0", "up")
        run("ip", "-n", self.server_ns, "link", "set", "lo", "up")
        run("ip", "-n", self.server_ns, "link", "set", "tvks0", "up")

    @staticmethod
    def write(path, text, mode=0o644):
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, mode)

    def start_server(self):
        if self.server is None:
            # The server's pppd names its interface ppp0 as well, in its own namespace: a /run
            # of its own keeps its pid file from taking the place of the client's.
            self.server = subprocess.Popen(
                ["ip", "netns", "exec", self.server_ns, "sh", "-c",
                 'mount -t tmpfs tmpfs /run && exec "$@"', "server", "pppoe-server", "-F",
                 "-k", "-I", "tvks0", "-L", SERVER_ADDRESS, "-R", CLIENT_ADDRESS, "-N", "4",
                 "-O", "/etc/ppp/pppoe-server-options"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def dial(self, peer=PEER):
        """pppd for `peer`, as a user starts it; it goes to the background by itself."""
        self.dialers.append(subprocess.Popen(["pppd", "call", peer], stdout=subprocess.DEVNULL,
                                             stderr=subprocess.DEVNULL))

    def client_pids(self):
        """Running pppd processes started for a peer (not the server's, not zombies)."""
        pids = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/stat") as f:
                    stat = f.read()
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    argv = f.read().split(b"\0")
            except OSError:
                continue
            if "(pppd)" in stat and stat.split(")")[1].split()[0] != "Z" and b"call" in argv:
                pids.append(int(entry))
        return pids

    def has_address(self, interface="ppp0"):
        """Whether the interface has an address the server handed out."""
        out = run("ip", "-4", "-o", "addr", "show", "dev", interface, check=False)
        return " 198.51.100." in out.stdout.decode()

    def state(self):
        """What pppd left in /run and the system shows, for failure messages."""
        lines = ["pid files:"]
        for name in sorted(os.listdir("/run")):
            if name.endswith(".pid"):
                with open(os.path.join("/run", name)) as f:
                    lines.append(f"  {name}: {f.read()!r}")
        lines.append(run("ps", "-eo", "pid,ppid,stat,args", check=False).stdout.decode())
        lines.append(run("ip", "addr", check=False).stdout.decode())
        return "\n".join(lines)

    def log(self, side):
        try:
            with open(f"/etc/ppp/{side}.log", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def hang_up_all(self):
        for pid in self.client_pids():
            os.kill(pid, signal.SIGKILL)
        for p in self.dialers:
            if p.poll() is None:
                p.kill()
            p.wait()
        self.dialers = []
        end = time.time() + 10
        while self.client_pids() and time.time() < end:
            time.sleep(0.1)

    def close(self):
        self.hang_up_all()
        if self.server is not None and self.server.poll() is None:
            self.server.kill()
            self.server.wait()
        # The sessions' pppd processes of the server are the fixture's own.
        for pid in run("ip", "netns", "pids", self.server_ns, check=False).stdout.split():
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass
        run("ip", "netns", "del", self.server_ns, check=False)
