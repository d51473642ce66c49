"""tallowick-cli under real use: parallel runs, signals, broken pipes, a file-size
limit, a server that stops mid-run and bad input, each with the real program as
a process in a scratch HOME with its own odbc.ini and temporary folder.

usage: trust_test.py TALLOWICK_CLI FIXTURES PG_SERVER_SCRIPT PG_PORT [unittest args]

TALLOWICK_TRUST_ROUNDS sets the rounds of the parallel test (default 25).
"""
import os
import random
import resource
import shutil
import signal
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time
import unittest

CLI, FIXTURES, PG_SERVER, PG_PORT = sys.argv[1:5]
del sys.argv[1:5]

ROUNDS = int(os.environ.get('TALLOWICK_TRUST_ROUNDS', '25'))

USER_INI = """; The user's own data sources: Tallowick must not change a byte here.
# a hash comment too

[Orders]
Driver      = SQLite3
Database    = {db}
NoCreat     = 1

; a comment between entries
[Elsewhere]
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=1
"""

# Long enough text that 65,000 rows make a run of a second or more.
BIG_QUERY = ("SELECT a.NAME || hex(zeroblob(900)) AS t, a.QTY AS q, b.NAME AS n "
             "FROM people a, people b, people c LIMIT 64000")


def make_sources(folder):
    """orders.db, people.xls, tables/people.dbf and DateTest.mdb in `folder`."""
    db = os.path.join(folder, 'orders.db')
    with sqlite3.connect(db) as con:
        con.execute('CREATE TABLE orders(id INTEGER, item VARCHAR(40), price REAL, day DATE)')
        con.executemany('INSERT INTO orders VALUES(?,?,?,?)',
                        [(i, 'item %d' % i, i * 1.5, '2003-07-%02d' % (i % 28 + 1))
                         for i in range(1, 301)])
    os.makedirs(os.path.join(folder, 'tables'))
    code = ("import dbf, sys\n"
            "t = dbf.Table(sys.argv[1], 'NAME C(20); QTY N(6,0)', dbf_type='db3')\n"
            "t.open(dbf.READ_WRITE)\n"
            "for i in range(40): t.append(('name %d' % i, i))\n"
            "t.close()\n"
            "import xlwt\n"
            "w = xlwt.Workbook(); s = w.add_sheet('People')\n"
            "s.write(0, 0, 'NAME'); s.write(0, 1, 'QTY')\n"
            "for i in range(40): s.write(i + 1, 0, 'name %d' % i); s.write(i + 1, 1, i)\n"
            "w.save(sys.argv[2])\n")
    subprocess.run(['/usr/bin/python3', '-c', code, os.path.join(folder, 'tables', 'people.dbf'),
                    os.path.join(folder, 'people.xls')], check=True)
    shutil.copy(os.path.join(FIXTURES, 'DateTest.mdb'), folder)
    return db


class Scratch:
    """HOME, odbc.ini, temporary folder and sources of one test."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix='tallowick-trust-')
        self.home = os.path.join(self.root, 'home')
        self.tmp = os.path.join(self.root, 'tmp')
        self.sys = os.path.join(self.root, 'sys')
        self.data = os.path.join(self.root, 'data')
        for d in (self.home, self.tmp, self.sys, self.data):
            os.makedirs(d)
        # Without psqlodbc's per-connection log in /tmp (Debian registers CommLog=1).
        with open('/etc/odbcinst.ini') as f:
            drivers = f.read().replace('CommLog=1', 'CommLog=0')
        with open(os.path.join(self.sys, 'odbcinst.ini'), 'w') as f:
            f.write(drivers)
        open(os.path.join(self.sys, 'odbc.ini'), 'w').close()
        self.db = make_sources(self.data)
        self.ini = os.path.join(self.home, '.odbc.ini')
        with open(self.ini, 'w') as f:
            f.write(USER_INI.format(db=self.db))
        self.ini_bytes = self.read(self.ini)
        self.env = dict(os.environ, HOME=self.home, ODBCINI=self.ini, ODBCSYSINI=self.sys,
                        TMPDIR=self.tmp, LC_ALL='C.UTF-8')
        self.env.pop('XDG_RUNTIME_DIR', None)
        self.sources = {
            'db': ['--file', self.db],
            'xls': ['--file', os.path.join(self.data, 'people.xls')],
            'dbf': ['--file', os.path.join(self.data, 'tables', 'people.dbf')],
            'mdb': ['--file', os.path.join(self.data, 'DateTest.mdb')],
            'dsn': ['--dsn', 'Orders'],
        }
        self.queries = {
            'db': 'SELECT id, item, price, day FROM orders',
            'xls': 'SELECT * FROM [People$]',
            'dbf': 'SELECT * FROM people',
            'mdb': 'SELECT * FROM DateTest',
            'dsn': 'SELECT id, item FROM orders ORDER BY id DESC',
        }

    @staticmethod
    def read(path):
        with open(path, 'rb') as f:
            return f.read()

    def out(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        return path

    def command(self, *args):
        return [CLI] + list(args)

    def run(self, *args, **kw):
        return subprocess.run(self.command(*args), env=self.env, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, timeout=300, **kw)

    def generate_args(self, kind, out, name='Trust', query=None):
        return ['generate'] + self.sources[kind] + ['--query', query or self.queries[kind],
                                                    '--name', name, '--out', out]

    def view_csv(self, out, name='Trust'):
        run = self.run('view', os.path.join(out, name + 'Helper.mhl'), '--format', 'csv')
        return run.returncode, run.stdout

    def leftovers(self, *outs):
        """What a run must not leave: temporary files, converted databases, a changed odbc.ini."""
        found = ['TMPDIR/' + n for n in os.listdir(self.tmp)]
        for out in outs:
            found += [out + '/' + n for n in os.listdir(out) if n.endswith('.tmp')]
        if self.read(self.ini) != self.ini_bytes:
            found.append('odbc.ini changed:\n' + self.read(self.ini).decode(errors='replace'))
        return found

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


class TrustTest(unittest.TestCase):
    def setUp(self):
        self.s = Scratch()

    def tearDown(self):
        self.s.remove()

    def assertNothingLeft(self, *outs):
        self.assertEqual(self.s.leftovers(*outs), [])

    def earlier_pair(self, out, name='Trust'):
        """Writes a small pair under `name` and returns its bytes."""
        run = self.s.run(*self.s.generate_args('dbf', out, name, 'SELECT * FROM people LIMIT 3'))
        self.assertEqual(run.returncode, 0, run.stderr)
        return self.pair(out, name)

    @staticmethod
    def pair(out, name='Trust'):
        return tuple(Scratch.read(os.path.join(out, n)) for n in (name + '.pdb', name + 'Helper.mhl'))

    def test_parallel_runs_keep_the_odbc_ini_and_every_output(self):
        kinds = ['db', 'xls', 'dbf', 'mdb', 'dsn', 'db', 'xls', 'dbf']
        expected = {}
        for kind in set(kinds):
            out = self.s.out('ref-' + kind)
            run = self.s.run(*self.s.generate_args(kind, out))
            self.assertEqual(run.returncode, 0, kind + ': ' + run.stderr)
            expected[kind] = self.s.view_csv(out)
            self.assertEqual(expected[kind][0], 0)
        for round_ in range(ROUNDS):
            outs = [self.s.out('p%d' % i) for i in range(len(kinds))]
            procs = [subprocess.Popen(self.s.command(*self.s.generate_args(k, o)), env=self.s.env,
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                      stdin=subprocess.DEVNULL, text=True)
                     for k, o in zip(kinds, outs)]
            for kind, proc in zip(kinds, procs):
                _, err = proc.communicate(timeout=300)
                self.assertEqual(proc.returncode, 0, 'round %d, %s: %s' % (round_, kind, err))
            for kind, out in zip(kinds, outs):
                self.assertEqual(self.s.view_csv(out), expected[kind], 'round %d, %s' % (round_, kind))
            self.assertNothingLeft(*outs)

    def test_two_runs_with_one_name_into_one_folder_leave_one_whole_pair(self):
        out = self.s.out('same')
        expected = {}
        for kind in ('db', 'dbf'):
            ref = self.s.out('ref-' + kind)
            self.assertEqual(self.s.run(*self.s.generate_args(kind, ref)).returncode, 0)
            expected[self.s.view_csv(ref)[1]] = kind
        for round_ in range(max(ROUNDS // 3, 3)):
            procs = [subprocess.Popen(self.s.command(*self.s.generate_args(k, out)), env=self.s.env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                      stdin=subprocess.DEVNULL, text=True) for k in ('db', 'dbf')]
            for proc in procs:
                _, err = proc.communicate(timeout=300)
                self.assertEqual(proc.returncode, 0, err)
            status, rows = self.s.view_csv(out)
            self.assertEqual(status, 0)
            self.assertIn(rows, expected, 'round %d: the PDB and its Helper file are of two runs' % round_)
            for log, head in (('TallowickLog.txt', 'Tallowick Log....'),
                              ('TallowickProcess.log', 'Started PDB Generation')):
                with open(os.path.join(out, log), errors='replace') as f:
                    self.assertEqual(f.read().count(head), 1,
                                     'round %d: %s holds two runs' % (round_, log))
            self.assertNothingLeft(out)

    def long_run(self, out, sig, delay, **kw):
        proc = subprocess.Popen(self.s.command(*self.s.generate_args('dbf', out, query=BIG_QUERY)),
                                env=self.s.env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                stdin=subprocess.DEVNULL, text=True, **kw)
        time.sleep(delay)
        proc.send_signal(sig)
        _, err = proc.communicate(timeout=300)
        return proc.returncode, err

    def test_signals_at_random_moments_leave_nothing_and_keep_the_earlier_pair(self):
        out = self.s.out('signals')
        earlier = self.earlier_pair(out)
        started = time.monotonic()
        timing = self.s.out('timing')
        run = self.s.run(*self.s.generate_args('dbf', timing, query=BIG_QUERY))
        duration = time.monotonic() - started
        self.assertEqual(run.returncode, 0, run.stderr)
        finished = self.undated(self.pair(timing))
        rng = random.Random(11)
        interrupted = 0
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP) * 2:
            delay = rng.uniform(0.05, max(0.1, duration * 0.6))
            status, err = self.long_run(out, sig, delay)
            with self.subTest(signal=sig.name, delay=round(delay, 2)):
                # A signal that comes once the new pair is in place (or after
                # the run ended) finds it whole; before that, the earlier pair
                # stays. Never one file of each, never a part of one.
                if self.pair(out) != earlier:
                    self.assertEqual(self.undated(self.pair(out)), finished)
                    earlier = self.pair(out)
                elif status != 0:
                    interrupted += 1
                if status != 0:
                    self.assertEqual(status, 128 + sig, err)
                self.assertNothingLeft(out)
        self.assertGreater(interrupted, 0, 'no signal came while the run was working')

    @staticmethod
    def undated(pair):
        """Both files without their header's creation and modification dates."""
        return tuple(data[:36] + data[44:] for data in pair)

    def test_what_a_killed_run_leaves_is_removed_by_the_next_run(self):
        out = self.s.out('killed')
        earlier = self.earlier_pair(out)
        status, _ = self.long_run(out, signal.SIGKILL, 0.6)
        self.assertEqual(status, -signal.SIGKILL)
        self.assertEqual(self.pair(out), earlier)
        run = self.s.run(*self.s.generate_args('dbf', out, 'Other', 'SELECT * FROM people'))
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(self.pair(out), earlier)
        self.assertNothingLeft(out)

    def test_a_broken_pipe_ends_a_preview_cleanly(self):
        for kind in ('dbf', 'xls'):
            # More than a pipe holds, so a write meets the closed pipe.
            query = (BIG_QUERY if kind == 'dbf' else
                     'SELECT a.NAME, hex(zeroblob(500)) FROM [People$] a, [People$] b')
            proc = subprocess.Popen(self.s.command('preview', *self.s.sources[kind], '--query', query),
                                    env=self.s.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    stdin=subprocess.DEVNULL)
            proc.stdout.readline()
            proc.stdout.readline()
            proc.stdout.close()
            proc.wait(timeout=300)
            proc.stderr.close()
            self.assertEqual(proc.returncode, 128 + signal.SIGPIPE, kind)
            self.assertNothingLeft()

    def test_a_file_size_limit_is_a_failure_that_keeps_the_earlier_pair(self):
        out = self.s.out('limited')
        earlier = self.earlier_pair(out)

        def limit():
            resource.setrlimit(resource.RLIMIT_FSIZE, (4 << 20, 4 << 20))
        run = subprocess.run(self.s.command(*self.s.generate_args('dbf', out, query=BIG_QUERY)),
                             env=self.s.env, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                             preexec_fn=limit, timeout=300)
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertIn('could not be written', run.stderr)
        self.assertEqual(self.pair(out), earlier)
        self.assertNothingLeft(out)

    def test_bad_input_is_refused_with_a_message_and_nothing_written(self):
        d = self.s.data
        with open(os.path.join(d, 'text.db'), 'w') as f:
            f.write('not a database\n')
        open(os.path.join(d, 'empty.mdb'), 'w').close()
        os.makedirs(os.path.join(d, 'folder.xls'))
        os.makedirs(os.path.join(d, 'folder.dbf'))
        out = self.s.out('bad')
        self.assertEqual(self.s.run(*self.s.generate_args('db', out, 'Good')).returncode, 0)
        helper = os.path.join(out, 'GoodHelper.mhl')
        pdb = os.path.join(out, 'Good.pdb')
        cases = [
            (['tables', '--file', os.path.join(d, 'text.db')], 'text.db'),
            (['tables', '--file', os.path.join(d, 'empty.mdb')], 'empty.mdb'),
            (['tables', '--file', os.path.join(d, 'folder.xls')], 'folder.xls'),
            (['tables', '--file', os.path.join(d, 'folder.dbf')], 'folder.dbf'),
            (['columns', '--file', self.s.db, '--table', 'nosuch'], 'nosuch'),
            (['preview', '--file', self.s.db, '--query', 'SELECT 1/0 + abs(-9223372036854775808)'], ''),
            (['generate', '--file', self.s.db, '--query', 'SELECT abs(-9223372036854775808)',
              '--name', 'Good', '--out', out], 'Good'),
        ]
        good = self.pair(out, 'Good')
        for args, named in cases:
            with self.subTest(args=args[:2] + args[-1:]):
                run = self.s.run(*args)
                self.assertEqual(run.returncode, 1, run.stdout + run.stderr)
                self.assertIn(named, run.stderr)
                self.assertTrue(run.stderr.strip())
        self.assertEqual(self.pair(out, 'Good'), good)
        self.assertNothingLeft(out)

        def damaged(helper_bytes=None, pdb_bytes=None):
            folder = tempfile.mkdtemp(dir=self.s.root)
            for path, data in ((helper, helper_bytes), (pdb, pdb_bytes)):
                with open(os.path.join(folder, os.path.basename(path)), 'wb') as f:
                    f.write(data if data is not None else Scratch.read(path))
            return os.path.join(folder, 'GoodHelper.mhl')

        helper_bytes = bytearray(Scratch.read(helper))
        pdb_bytes = bytearray(Scratch.read(pdb))
        first_field = struct.unpack('>I', helper_bytes[78 + 24:78 + 28])[0]  # record 3: the first field
        bad_kind = bytearray(helper_bytes)
        bad_kind[first_field] = 9
        inside_list = bytearray(pdb_bytes)
        inside_list[78:82] = struct.pack('>I', 40)  # record 0 inside the header
        outside_name = bytearray(helper_bytes)
        first_record = struct.unpack('>I', helper_bytes[78:82])[0]
        outside_name[first_record + 1:first_record + 12] = b'../outside\0'
        for label, path in (('kind 9', damaged(helper_bytes=bad_kind)),
                            ('offset inside the header', damaged(pdb_bytes=inside_list)),
                            ('name outside the folder', damaged(helper_bytes=outside_name))):
            with self.subTest(view=label):
                run = self.s.run('view', path)
                self.assertEqual(run.returncode, 1, run.stdout)
                self.assertTrue(run.stderr.strip())


class PostgresTrustTest(unittest.TestCase):
    """A private server that the test stops in the middle of a run."""

    def setUp(self):
        self.s = Scratch()
        self.pg = os.path.join(self.s.root, 'pg')
        script = os.path.join(self.s.root, 'big.sql')
        with open(script, 'w') as f:
            f.write("CREATE TABLE big AS SELECT g AS id, repeat('x', 1000) AS t "
                    "FROM generate_series(1, 65000) g;\n"
                    "CREATE TABLE small AS SELECT g AS id FROM generate_series(1, 10) g;\n")
        os.chmod(self.s.root, 0o755)
        os.chmod(script, 0o644)
        subprocess.run(['bash', PG_SERVER, 'start', self.pg, PG_PORT, script], check=True,
                       stdout=subprocess.DEVNULL)
        with open(self.s.ini, 'a') as f:
            f.write('\n[Big]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort=%s\n'
                    'Database=tallowick\nUsername=tallowick\nPassword=tallowick-pw\n'
                    'UseDeclareFetch=1\nFetch=50\n' % PG_PORT)
        self.s.ini_bytes = Scratch.read(self.s.ini)

    def tearDown(self):
        subprocess.run(['bash', PG_SERVER, 'stop', self.pg, PG_PORT], stdout=subprocess.DEVNULL)
        self.s.remove()

    def test_a_server_stopped_mid_run_is_a_failure_that_keeps_the_earlier_pair(self):
        out = self.s.out('pg')
        run = self.s.run('generate', '--dsn', 'Big', '--query', 'SELECT id FROM small',
                         '--name', 'Trust', '--out', out)
        self.assertEqual(run.returncode, 0, run.stderr)
        earlier = TrustTest.pair(out)
        proc = subprocess.Popen(self.s.command('generate', '--dsn', 'Big', '--query',
                                               'SELECT id, t FROM big ORDER BY id', '--name', 'Trust',
                                               '--out', out),
                                env=self.s.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                stdin=subprocess.DEVNULL, text=True,
                                preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_CORE, (0, 0)))
        time.sleep(0.5)
        bindir = sorted(d for d in os.listdir('/usr/lib/postgresql'))[-1]
        stop = ['/usr/lib/postgresql/%s/bin/pg_ctl' % bindir, '-D', self.pg + '/data', '-m',
                'immediate', 'stop']
        if os.geteuid() == 0:
            stop = ['runuser', '-u', 'postgres', '--'] + stop
        subprocess.run(stop, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, err = proc.communicate(timeout=300)
        if proc.returncode == -signal.SIGSEGV:
            # psqlodbc 13 dereferences a null connection when the server goes
            # away in the middle of a cursor refill; the run still cleans up.
            self.assertIn('stopped by a fault', err)
        else:
            self.assertEqual(proc.returncode, 1, err)
            self.assertRegex(err, r'rows? read')
        self.assertEqual(TrustTest.pair(out), earlier)
        self.assertEqual(self.s.leftovers(out), [])


if __name__ == '__main__':
    unittest.main(verbosity=2)
