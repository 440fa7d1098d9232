"""A real NetworkManager in a network namespace of its own, for the end-to-end tests.

Two namespaces joined by a veth pair in 198.51.100.0/24: the client side runs a dbus-daemon
with the system bus's policy and NetworkManager on it, both in a private mount namespace whose
/run, NetworkManager state and profiles are tmpfs and whose /sys is read-only (without udev,
NetworkManager only manages a veth when it believes it runs in a container); the server side
runs an OpenVPN server whose password check takes `AUTH_DELAY` seconds and refuses while the
refuse file exists. Nothing reaches the machine's own network, buses, DNS or /etc: the only
traces outside the temporary folder are the two named namespaces, removed by close().

Not named *_test.py on purpose: ctest runs every such script in this folder as a test.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

CLIENT_ADDRESS = "198.51.100.2"
SERVER_ADDRESS = "198.51.100.1"
VPN_USER = "alice"
VPN_PASSWORD = "s3cret"
AUTH_DELAY = 3
TOOLS = ["ip", "unshare", "nsenter", "dbus-daemon", "NetworkManager", "nmcli", "openvpn",
         "openssl"]
OPENVPN_PLUGIN = "/usr/lib/NetworkManager/nm-openvpn-service"


def skip_reason():
    """Why the fixture cannot run here, or None."""
    if os.geteuid() != 0:
        return "needs root (network namespaces, NetworkManager)"
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if not os.path.exists(OPENVPN_PLUGIN):
        missing.append("network-manager-openvpn")
    if missing:
        return "not installed: " + ", ".join(missing) + " (scripts/install-deps.sh installs them)"
    probe = subprocess.run(["unshare", "--net", "--mount", "true"], capture_output=True)
    if probe.returncode != 0:
        return "network namespaces cannot be made here: " + probe.stderr.decode().strip()
    if not os.path.exists("/dev/net/tun"):
        return "no /dev/net/tun for the VPN's tunnel"
    return None


def run(*args, check=True, **kwargs):
    return subprocess.run(list(args), check=check, capture_output=True, timeout=60, **kwargs)


BUS_CONFIG_DROP = re.compile(
    r"<user>.*?</user>|<fork/>|<standard_system_servicedirs/>|<servicehelper>.*?</servicehelper>"
    r"|<pidfile>.*?</pidfile>|<syslog/>|<listen>.*?</listen>|<includedir>system\.d</includedir>",
    re.S)


def system_bus_config(sockets):
    """The machine's system-bus configuration with its policy, listening on `sockets`, never
    forking, logging or starting services on demand."""
    with open("/usr/share/dbus-1/system.conf") as f:
        text = BUS_CONFIG_DROP.sub("", f.read())
    listen = "".join(f"<listen>unix:path={s}</listen>" for s in sockets)
    return text.replace("</busconfig>",
                        listen + "<includedir>/usr/share/dbus-1/system.d</includedir>"
                        "</busconfig>")


NM_CONFIG = """[main]
plugins=keyfile
dns=none
rc-manager=unmanaged
systemd-resolved=false
no-auto-default=*
auth-polkit=false
[logging]
level=INFO
[connectivity]
enabled=false
"""

# Runs inside the client namespace and a mount namespace of its own: everything
# NetworkManager writes lands on tmpfs, then the bus starts (its pid is this shell's).
CLIENT_SETUP = """set -e
mount --make-rprivate /
mount -o remount,bind,ro /sys
mount -t tmpfs tmpfs /run
mkdir -p /run/dbus /run/NetworkManager
mount -t tmpfs tmpfs /var/lib/NetworkManager
mount -t tmpfs tmpfs /etc/NetworkManager
mkdir -p /etc/NetworkManager/system-connections /etc/NetworkManager/conf.d
cp "$1/NetworkManager.conf" /etc/NetworkManager/NetworkManager.conf
touch "$1/resolv.conf"
mount --bind "$1/resolv.conf" /etc/resolv.conf
exec dbus-daemon --nofork --config-file="$1/bus.conf"
"""

AUTH_SCRIPT = """#!/bin/sh
# OpenVPN's password check: slow, and refusing while the refuse file exists.
sleep {delay}
[ -e "{root}/refuse" ] && exit 1
[ "$(sed -n 1p "$1")" = "{user}" ] && [ "$(sed -n 2p "$1")" = "{password}" ]
"""


class NmFixture:
    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="tarvik-nm-")
        os.chmod(self.root, 0o755)  # openvpn reads the CA after dropping its privileges
        tag = f"{os.getpid()}"
        self.client_ns = "tvk-nm-" + tag
        self.server_ns = "tvk-srv-" + tag
        self.bus_socket = os.path.join(self.root, "bus")
        self.bus_address = "unix:path=" + self.bus_socket
        self.namespaces = []
        self.bus = None
        self.nm = None
        self.server = None
        self.nm_log = None
        self.dialers = []

    # -- set-up

    def start(self, vpn_server=True):
        """Network, bus and (unless not wanted) the VPN server; NetworkManager is started by
        start_nm()."""
        self._network()
        self._bus()
        if vpn_server:
            self._server()

    def _network(self):
        for ns in (self.client_ns, self.server_ns):
            run("ip", "netns", "add", ns)
            self.namespaces.append(ns)
        run("ip", "link", "add", "tvkc0", "netns", self.client_ns, "type", "veth",
            "peer", "name", "tvks0", "netns", self.server_ns)
        for ns in (self.client_ns, self.server_ns):
            run("ip", "-n", ns, "link", "set", "lo", "up")
        run("ip", "-n", self.server_ns, "addr", "add", SERVER_ADDRESS + "/24", "dev", "tvks0")
        run("ip", "-n", self.server_ns, "link", "set", "tvks0", "up")

    def _bus(self):
        with open(os.path.join(self.root, "bus.conf"), "w") as f:
            f.write(system_bus_config(["/run/dbus/system_bus_socket", self.bus_socket]))
        with open(os.path.join(self.root, "NetworkManager.conf"), "w") as f:
            f.write(NM_CONFIG)
        self.bus = subprocess.Popen(
            ["ip", "netns", "exec", self.client_ns, "unshare", "--mount", "--propagation",
             "private", "sh", "-c", CLIENT_SETUP, "setup", self.root],
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.root, "bus.err"), "w"))
        self._wait(lambda: os.path.exists(self.bus_socket), "the test's system bus")

    def _server(self):
        pki = os.path.join(self.root, "pki")
        os.mkdir(pki)
        ssl = ["openssl"]
        run(*ssl, "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
            "-nodes", "-keyout", f"{pki}/ca.key", "-out", f"{pki}/ca.crt", "-days", "2",
            "-subj", "/CN=Test CA")
        run(*ssl, "req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", f"{pki}/server.key", "-out", f"{pki}/server.csr", "-subj", "/CN=server")
        with open(f"{pki}/ext", "w") as f:
            f.write("extendedKeyUsage=serverAuth\nkeyUsage=digitalSignature,keyAgreement\n")
        run(*ssl, "x509", "-req", "-in", f"{pki}/server.csr", "-CA", f"{pki}/ca.crt", "-CAkey",
            f"{pki}/ca.key", "-CAcreateserial", "-out", f"{pki}/server.crt", "-days", "2",
            "-extfile", f"{pki}/ext")
        self.ca = f"{pki}/ca.crt"
        os.chmod(self.ca, 0o644)
        script = os.path.join(self.root, "check-password")
        with open(script, "w") as f:
            f.write(AUTH_SCRIPT.format(delay=AUTH_DELAY, root=self.root, user=VPN_USER,
                                       password=VPN_PASSWORD))
        os.chmod(script, 0o755)
        self.server_log = os.path.join(self.root, "server.log")
        self.server = subprocess.Popen(
            ["ip", "netns", "exec", self.server_ns, "openvpn", "--mode", "server",
             "--tls-server", "--dev", "tun", "--topology", "subnet", "--proto", "udp",
             "--local", SERVER_ADDRESS, "--port", "1194", "--ifconfig", "10.99.0.1",
             "255.255.255.0", "--ifconfig-pool", "10.99.0.2", "10.99.0.20", "--push",
             "route-gateway 10.99.0.1", "--push", "topology subnet", "--ca", self.ca,
             "--cert", f"{pki}/server.crt", "--key", f"{pki}/server.key", "--dh", "none",
             "--verify-client-cert", "none", "--username-as-common-name", "--duplicate-cn",
             "--script-security", "2", "--auth-user-pass-verify", script, "via-file",
             "--tmp-dir", self.root, "--keepalive", "2", "10", "--verb", "3",
             "--log", self.server_log],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._wait(lambda: "Initialization Sequence Completed" in self._read(self.server_log),
                   "the OpenVPN server")

    def start_nm(self):
        """NetworkManager inside the bus's namespaces; waits until it owns its name."""
        self.nm_log = open(os.path.join(self.root, "nm.log"), "a")
        self.nm = subprocess.Popen(
            ["nsenter", "--target", str(self.bus.pid), "--mount", "--net", "--",
             "NetworkManager", "--debug", "--config=/etc/NetworkManager/NetworkManager.conf",
             "--config-dir=/etc/NetworkManager/conf.d", "--system-config-dir=/nonexistent",
             "--log-level=INFO"],
            stdout=self.nm_log, stderr=subprocess.STDOUT,
            env={"PATH": os.environ.get("PATH", "/usr/sbin:/usr/bin:/sbin:/bin")})
        self._wait(lambda: self.nmcli_ok("general", "status"), "NetworkManager on the bus")

    def stop_nm(self):
        if self.nm is not None and self.nm.poll() is None:
            self.nm.send_signal(signal.SIGTERM)
            try:
                self.nm.wait(15)
            except subprocess.TimeoutExpired:
                self.nm.kill()
                self.nm.wait()
        self.nm = None

    # -- use

    def env(self, base=None):
        """`base` (default: this process's) with the test's bus as the system bus."""
        return dict(base or os.environ, DBUS_SYSTEM_BUS_ADDRESS=self.bus_address)

    def nmcli(self, *args, check=True):
        result = subprocess.run(["nmcli", *args], capture_output=True, timeout=60,
                                env=self.env())
        if check and result.returncode != 0:
            raise AssertionError(f"nmcli {' '.join(args)}: {result.stderr.decode()}\n"
                                 f"NetworkManager's log:\n{self.nm_log_text()[-3000:]}")
        return result.stdout.decode()

    def nmcli_ok(self, *args):
        return subprocess.run(["nmcli", *args], capture_output=True, timeout=60,
                              env=self.env()).returncode == 0

    def active(self):
        """Names of the active profiles."""
        return self.nmcli("-t", "-f", "NAME", "connection", "show", "--active").splitlines()

    def add_profiles(self, lan, vpn):
        self.nmcli("connection", "add", "type", "ethernet", "con-name", lan, "ifname", "tvkc0",
                   "ipv4.method", "manual", "ipv4.addresses", CLIENT_ADDRESS + "/24",
                   # The VPN needs a default route to hang under; it stays in the namespace.
                   "ipv4.gateway", SERVER_ADDRESS,
                   "ipv6.method", "ignore", "connection.autoconnect", "no")
        self.nmcli("connection", "up", lan)
        self.nmcli("connection", "add", "type", "vpn", "con-name", vpn, "vpn-type", "openvpn",
                   "vpn.data", f"remote={SERVER_ADDRESS}, port=1194, connection-type=password, "
                   f"username={VPN_USER}, ca={self.ca}, password-flags=0, dev-type=tun",
                   "vpn.secrets", f"password={VPN_PASSWORD}", "ipv4.never-default", "yes",
                   "ipv6.method", "ignore", "connection.autoconnect", "no")

    def dial(self, vpn):
        """Activates the VPN without waiting for it (nmcli would wait through the check)."""
        nmcli = subprocess.Popen(["nmcli", "connection", "up", vpn], env=self.env(),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.dialers.append(nmcli)
        return nmcli

    def reap_dialers(self):
        for nmcli in self.dialers:
            if nmcli.poll() is None:
                nmcli.kill()
            nmcli.wait()
        self.dialers = []

    def refuse(self, refusing):
        path = os.path.join(self.root, "refuse")
        if refusing:
            open(path, "w").close()
        elif os.path.exists(path):
            os.remove(path)

    def client_pids(self, name):
        """Processes called `name` in the client namespace."""
        out = run("ip", "netns", "pids", self.client_ns, check=False).stdout.decode().split()
        pids = []
        for pid in out:
            try:
                with open(f"/proc/{pid}/comm") as f:
                    if f.read().strip() == name:
                        pids.append(int(pid))
            except OSError:
                pass
        return pids

    def nm_log_text(self):
        return self._read(os.path.join(self.root, "nm.log"))

    # -- clean-up

    def close(self):
        """Ends every process of the fixture and removes its namespaces and folder; safe to
        call after a failed or partial start."""
        self.reap_dialers()
        self.stop_nm()
        for proc in (self.server, self.bus):
            if proc is not None and proc.poll() is None:
                proc.kill()
                proc.wait()
        # Whatever the fixture's processes started inside the namespaces (the VPN plugin, the
        # OpenVPN client) is the fixture's own: nothing else lives there.
        for ns in self.namespaces:
            for pid in run("ip", "netns", "pids", ns, check=False).stdout.decode().split():
                try:
                    os.kill(int(pid), signal.SIGKILL)
                except ProcessLookupError:
                    pass
        for ns in self.namespaces:
            run("ip", "netns", "del", ns, check=False)
        self.namespaces = []
        if self.nm_log is not None:
            self.nm_log.close()
        shutil.rmtree(self.root, ignore_errors=True)

    @staticmethod
    def _read(path):
        try:
            with open(path, errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def _wait(self, predicate, what, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if predicate():
                return
            time.sleep(0.1)
        raise AssertionError(f"timed out waiting for {what}; NetworkManager's log:\n"
                             f"{self.nm_log_text()[-3000:]}\nserver log:\n"
                             f"{self._read(os.path.join(self.root, 'server.log'))[-2000:]}")
